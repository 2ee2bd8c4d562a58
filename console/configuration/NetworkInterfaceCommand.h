#pragma once

class QWidget;

namespace console {

// The main window's Network Interface command on the current printer row: the password gate, then
// the dialog. True when the dialog saved. The caller rebuilds, sorts and refills its rows either way
// (names and addresses may have changed) and selects the same hardware address again.
bool RunNetworkInterface(QWidget* parent);

}  // namespace console
