#include "console/netware/frmPrintMode.h"

namespace console {

void ShowPrintModeDialog(QWidget*) {}

int FindQueueMode(const QString&, int16_t, const QString&, const QString&) {
    return -1;
}

}  // namespace console
