#include "console/configuration/DevicePassword.h"

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"

namespace console {

namespace {

constexpr int kPassword = 1;
constexpr int kRecoveryPassword = 2;

QString ReadPassword(int kind) {
    State().currentPassword.clear();
    GetPassword(kind);
    return State().currentPassword;
}

}  // namespace

PasswordCheck CheckDevicePassword(const QString& typed) {
    const QString password = ReadPassword(kPassword);
    if (password.isEmpty()) {
        return PasswordCheck::kUnread;
    }
    if (typed == password) {
        return PasswordCheck::kAccepted;
    }
    const QString recovery = ReadPassword(kRecoveryPassword);
    return !recovery.isEmpty() && typed.compare(recovery, Qt::CaseInsensitive) == 0 ? PasswordCheck::kAccepted
                                                                                    : PasswordCheck::kRefused;
}

}  // namespace console
