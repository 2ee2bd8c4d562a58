#include "console/configuration/frmPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "console/configuration/ConfigurationSnmp.h"
#include "console/configuration/DevicePassword.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 5700;
constexpr int kModifyPasswordText = 5099;
const char* const kProtectionOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.1.0";

}  // namespace

frmPassword::frmPassword(QString adapter, QPushButton* passwordButton, QWidget* parent)
    : QDialog(parent), adapter_(std::move(adapter)), passwordButton_(passwordButton) {
    const MaskedForm form = LayOutMaskedForm(this, {"Enter Password:", "Confirm Password:"});
    txtPassword1 = form.rows[0].second;
    txtPassword2 = form.rows[1].second;
    pbuOK = form.ok;
    pbuCancel = form.cancel;
    pbuOK->setEnabled(false);
    const auto bothFilled = [this] {
        pbuOK->setEnabled(!txtPassword1->text().isEmpty() && !txtPassword2->text().isEmpty());
    };
    connect(txtPassword1, &QLineEdit::textChanged, this, bothFilled);
    connect(txtPassword2, &QLineEdit::textChanged, this, bothFilled);
    connect(pbuOK, &QPushButton::clicked, this, &frmPassword::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    LocalizeForm(this, kBaseId,
                 CaptionOrder() << pbuOK << pbuCancel << form.rows[0].first << form.rows[1].first);
    adjustSize();
    CenterForm(this);
}

void frmPassword::pbuOK_Click() {
    if (!SetNewDevicePassword(adapter_, txtPassword1, txtPassword2)) {
        return;
    }
    const std::int32_t result = SetValues(adapter_, {kProtectionOid}, "1,1");
    if (result != 0) {
        ShowResult(result, kWarning);
        return;
    }
    passwordButton_->setText(LoadString(kModifyPasswordText));
    accept();
}

}  // namespace console
