#include "console/netware/frmCrQueue.h"

namespace console {

void ShowCreateQueueDialog(QWidget*) {}

}  // namespace console
