#pragma once

#include <QString>

// The check of a typed password against the print server's two password objects, read anew each
// time: password 1 compared exactly, password 2 (the recovery password) without regard to case, as
// the card compares them.
namespace console {

enum class PasswordCheck { kAccepted, kRefused, kUnread };

// kUnread when password 1 cannot be read or is empty (the failure has been shown): nothing matches
// then, never a password left over from another card.
PasswordCheck CheckDevicePassword(const QString& typed);

}  // namespace console
