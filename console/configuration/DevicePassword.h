#pragma once

#include <QString>

class QLineEdit;

// The check of a typed password against the print server's two password objects, read anew each
// time: password 1 compared exactly, password 2 (the recovery password) without regard to case, as
// the card compares them.
namespace console {

enum class PasswordCheck { kAccepted, kRefused, kUnread };

// kUnread when password 1 cannot be read or is empty (the failure has been shown): nothing matches
// then, never a password left over from another card.
PasswordCheck CheckDevicePassword(const QString& typed);

// Sets password 1 of the print server to the text of `first` once it is not blank and `second`
// repeats it; says why not (and puts the focus where the fault is) otherwise. True when the card
// took it; the console then uses it as the current password.
bool SetNewDevicePassword(const QString& adapter, QLineEdit* first, QLineEdit* second);

}  // namespace console
