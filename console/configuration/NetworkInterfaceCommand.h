#pragma once

class QWidget;

namespace console {

// The main window's Network Interface command on the current printer row: the password gate, then
// the dialog. True when the dialog saved; the caller then rebuilds, sorts and refills its rows
// (names and addresses may have changed) and selects the same hardware address again.
bool RunNetworkInterface(QWidget* parent);

}  // namespace console
