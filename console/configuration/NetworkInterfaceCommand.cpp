#include "console/configuration/NetworkInterfaceCommand.h"

#include "console/configuration/frmConfiguration.h"
#include "console/configuration/frmGetPassword.h"
#include "console/core/ConsoleState.h"
#include "console/core/PrintServerTable.h"

namespace console {

namespace {

// A card fresh from its box, without an address, answers nothing but broadcasts, so it has no
// protection switch to ask: it opens straight into its new-print-server form. Only the card's own
// word that it is new counts, never the console's mark of an entry added by hand.
bool HasNoProtectionToAsk() {
    const PrinterRow* row = CurrentPrinter();
    const PrintServerEntry* entry = row != nullptr ? FindServer(row->mac) : nullptr;
    return entry != nullptr && entry->reportedNew && IsNewWithoutAddress(*entry);
}

}  // namespace

bool RunNetworkInterface(QWidget* parent) {
    if (!HasNoProtectionToAsk() && !PassPasswordGate(parent)) {
        return false;
    }
    frmConfiguration dialog(parent);
    return dialog.Form_Load() && dialog.exec() == QDialog::Accepted;
}

}  // namespace console
