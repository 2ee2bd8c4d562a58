#include "console/configuration/DevicePassword.h"

#include <QLineEdit>
#include "console/core/ConsoleState.h"

#include "console/core/DeviceAccess.h"
#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kPassword = 1;
constexpr int kRecoveryPassword = 2;
constexpr int kBlankPassword = 12022;
constexpr int kMismatch = 12010;
constexpr int kCannotSet = 12020;

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

bool SetNewDevicePassword(const QString& adapter, QLineEdit* first, QLineEdit* second) {
    const QString password = first->text();
    if (password.isEmpty()) {
        ShowMessage(kBlankPassword, kWarning);
        first->setFocus();
        return false;
    }
    if (password != second->text()) {
        ShowMessageEx(kMismatch, kWarning, "");
        second->setFocus();
        second->selectAll();
        return false;
    }
    if (SetPassword(adapter, password, kPassword) != 0) {
        ShowMessage(kCannotSet, kWarning);
        return false;
    }
    State().currentPassword = password;
    return true;
}

}  // namespace console
