#include "console/netware/frmLogin.h"

namespace console {

void ShowLoginDialog(QWidget*) {}

}  // namespace console
