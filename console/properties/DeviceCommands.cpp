#include "console/properties/DeviceCommands.h"

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/Messages.h"
#include "console/properties/frmPrStatus.h"
#include "console/properties/frmProperties.h"
#include "console/properties/frmStatistics.h"

namespace console {

namespace {

// True when there is a current row whose print server answers; a failure is shown.
bool Reachable() {
    const std::int32_t result = ProbePrinter();
    if (result != 0) {
        ShowResult(result, kWarning);
        return false;
    }
    return CurrentPrinter() != nullptr;
}

}  // namespace

void FrontPanelCommand(QWidget* parent, const PasswordGate& gate) {
    if (!Reachable()) {
        return;
    }
    const PasswordState password = IsPasswordEnabled();
    if (password == kPasswordUnknown || (password == kPasswordOn && !gate())) {
        return;
    }
    frmProperties dialog(parent);
    dialog.Form_Load();
    if (dialog.Form_Activate()) {
        dialog.exec();
    }
}

void PrinterStatusCommand(QWidget* parent) {
    if (!Reachable()) {
        return;
    }
    frmPrStatus dialog(parent);
    if (dialog.Form_Load()) {
        dialog.exec();
    }
}

void ProtocolStatisticsCommand(QWidget* parent) {
    if (!Reachable()) {
        return;
    }
    frmStatistics dialog(parent);
    dialog.Form_Load();
    dialog.exec();
}

}  // namespace console
