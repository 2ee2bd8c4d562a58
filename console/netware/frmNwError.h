#pragma once

class QWidget;

namespace console {

// Shows the NetWare error dialog modally for NwErrorId.
void ShowNetWareErrorDialog(QWidget* owner);

// Routes the console's messages 25011, 30021 and 30027 to the NetWare error dialog while
// NwErrorDialogFlag is -1. Called once at start-up.
void WireNetWareErrorDialog();

// Shows a NetWare set-up result as a warning, through the NetWare error dialog when the result has
// several possible causes; returns the button pressed.
int ShowNetWareSetupResult(int code);

}  // namespace console
