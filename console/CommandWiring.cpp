#include "console/CommandWiring.h"

#include "console/configuration/NetworkInterfaceCommand.h"
#include "console/configuration/frmGetPassword.h"
#include "console/core/CommandTable.h"
#include "console/core/NewLook.h"
#include "console/help/HelpCommands.h"
#include "console/netware/frmNwError.h"
#include "console/properties/DeviceCommands.h"
#include "console/properties/FirmwareCommand.h"

namespace console {

void WireCommands() {
    SetPasswordDialog(ShowPasswordGate);
    WireNetWareErrorDialog();
    WireHelp();
    // Names and addresses may have changed: the rows are built anew, the same print server chosen,
    // whether or not the dialog saved (it may have written some settings before a failure).
    SetCommand("mnuConfigure", [](NewLook& window) {
        RunNetworkInterface(&window);
        window.RebuildList();
    });
    SetCommand("mnuProperties", [](NewLook& window) {
        FrontPanelCommand(&window, [&window] { return AskPassword(&window); });
    });
    SetCommand("mnuPrStatus", [](NewLook& window) { PrinterStatusCommand(&window); });
    SetCommand("mnuProtocolS", [](NewLook& window) { ProtocolStatisticsCommand(&window); });
    SetCommand("mnuFlash", [](NewLook& window) {
        UpgradeFirmwareCommand(&window, window.Action("mnuFlash"), FirmwareTargetMode::kCurrentRow);
    });
}

}  // namespace console
