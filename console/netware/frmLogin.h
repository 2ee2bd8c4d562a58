#pragma once

class QWidget;

namespace console {

// Shows the NetWare login dialog modally, placed against `owner` (the dialog that opens it), for the
// login globals; the result is in NwLoginResult and NwLoginKind.
void ShowLoginDialog(QWidget* owner);

}  // namespace console
