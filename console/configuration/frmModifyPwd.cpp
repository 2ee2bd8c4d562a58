#include "console/configuration/frmModifyPwd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "console/configuration/DevicePassword.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kBaseId = 5710;
constexpr int kInvalidPassword = 12011;

}  // namespace

frmModifyPwd::frmModifyPwd(QString adapter, QWidget* parent) : QDialog(parent), adapter_(std::move(adapter)) {
    const MaskedForm form = LayOutMaskedForm(this, {"Old Password:", "New Password:", "Confirm Password:"});
    txtOldPwd = form.rows[0].second;
    txtPassword1 = form.rows[1].second;
    txtPassword2 = form.rows[2].second;
    pbuOK = form.ok;
    pbuCancel = form.cancel;
    connect(pbuOK, &QPushButton::clicked, this, &frmModifyPwd::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    LocalizeForm(this, kBaseId,
                 CaptionOrder() << pbuCancel << pbuOK << form.rows[2].first << form.rows[1].first
                                << form.rows[0].first);
    adjustSize();
    CenterForm(this);
}

void frmModifyPwd::pbuOK_Click() {
    switch (CheckDevicePassword(txtOldPwd->text())) {
        case PasswordCheck::kAccepted:
            break;
        case PasswordCheck::kRefused:
            ShowMessageEx(kInvalidPassword, kWarning, "");
            [[fallthrough]];
        case PasswordCheck::kUnread:
            txtOldPwd->setFocus();
            return;
    }
    if (!SetNewDevicePassword(adapter_, txtPassword1, txtPassword2)) {
        return;
    }
    accept();
}

}  // namespace console
