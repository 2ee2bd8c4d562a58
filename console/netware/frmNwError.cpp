#include "console/netware/frmNwError.h"

#include "console/core/Messages.h"

namespace console {

void ShowNetWareErrorDialog(QWidget*) {}

void WireNetWareErrorDialog() {}

int ShowNetWareSetupResult(int code) {
    return ShowResult(code, kWarning);
}

}  // namespace console
