#include "console/netware/frmBrowse.h"

namespace console {

void ShowBrowseDialog(QWidget*) {}

}  // namespace console
