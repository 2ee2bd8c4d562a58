#include "console/configuration/frmGetPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "console/configuration/DevicePassword.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kBaseId = 5720;
constexpr int kInvalidPassword = 12011;

}  // namespace

frmGetPassword::frmGetPassword(QWidget* parent) : QDialog(parent) {
    const MaskedForm form = LayOutMaskedForm(this, {"Enter the Password:"});
    lblPassword = form.rows[0].first;
    txtPassword = form.rows[0].second;
    pbuOK = form.ok;
    pbuCancel = form.cancel;
    connect(pbuOK, &QPushButton::clicked, this, &frmGetPassword::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &frmGetPassword::pbuCancel_Click);
    LocalizeForm(this, kBaseId, CaptionOrder() << pbuCancel << pbuOK << lblPassword);
    adjustSize();
    CenterForm(this);
}

void frmGetPassword::pbuOK_Click() {
    switch (CheckDevicePassword(txtPassword->text())) {
        case PasswordCheck::kAccepted:
            answer_ = "1";
            accept();
            return;
        case PasswordCheck::kRefused:
            ShowMessageEx(kInvalidPassword, kWarning, "");
            break;
        case PasswordCheck::kUnread:
            break;
    }
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void frmGetPassword::pbuCancel_Click() {
    answer_ = "0";
    reject();
}

bool ShowPasswordGate(QWidget* parent) {
    frmGetPassword gate(parent);
    gate.exec();
    return gate.txtOK() == "1";
}

bool PassPasswordGate(QWidget* parent) {
    switch (IsPasswordEnabled()) {
        case kPasswordOff:
            return true;
        case kPasswordOn:
            return ShowPasswordGate(parent);
        case kPasswordUnknown:
            break;
    }
    return false;
}

}  // namespace console
