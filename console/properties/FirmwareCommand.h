#pragma once

#include <QString>

class QAction;
class QWidget;

// The main window's Upgrade Firmware command: starts the firmware server, proves its window, hands
// it the dialog's window and shows the upgrade dialog modally.
namespace console {

enum class FirmwareTargetMode {
    kCurrentRow,   // the list mode, on the current row's print server
    kByAddress,    // the address mode, with the current row's address filled in when there is one
    kWaitForCard,  // no print server is told: the card asks from its front panel
};

// The folder that holds the fendrel program; the console's own folder unless set (tests).
void SetFirmwareProgramFolder(const QString& folder);

// Opens the dialog in the given mode; mnuFlash (may be null) is disabled while it is up. False when
// this PC has no TCP/IP address or the firmware server could not be started (shown).
bool UpgradeFirmwareCommand(QWidget* parent, QAction* mnuFlash, FirmwareTargetMode mode);

}  // namespace console
