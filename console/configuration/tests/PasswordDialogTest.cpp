// The password gate and the set and modify password dialogs against simulated cards: the gate takes
// only the card's own passwords, read anew each time; set and modify write what was typed and say
// when they cannot; a protected card is not configured without its password.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "console/configuration/NetworkInterfaceCommand.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/frmGetPassword.h"
#include "console/configuration/frmModifyPwd.h"
#include "console/configuration/frmPassword.h"
#include "console/configuration/tests/ConfigurationFixture.h"
#include "console/core/DeviceAccess.h"
#include "console/tests/Typing.h"

namespace console {
namespace {

const QString kLocked = "00C0DE0000C1";
const std::string kCards =
    "card Locked mac=00C0DE0000C1 ip=127.0.1.3 protocols=ip password=Secret7\n"
    "card Other mac=00C0DE0000C2 ip=127.0.1.4 protocols=ip password=Other9\n"
    "card Plain mac=00C0DE0000C3 ip=127.0.1.5 protocols=ip\n";
const std::string kPasswordOid = kPrivate + "12.6.1.2.0";

void Enter(QLineEdit* box, const QString& text) {
    box->setText(text);
}

class PasswordDialogTest : public ConfigurationFixture {
  protected:
    // The gate's answer to a typed password, and the texts of the boxes it showed.
    QString GateAnswer(const QString& typed) {
        frmGetPassword gate(console_.get());
        gate.show();
        Enter(gate.txtPassword, typed);
        gate.pbuOK->click();
        return gate.txtOK();
    }
    QString LastBox() const { return boxes_.Shown().empty() ? QString() : boxes_.Shown().back().text; }
};

TEST_F(PasswordDialogTest, TheGateTakesOnlyTheCardsOwnPasswordsReadAnewEachTime) {
    OpenConsole(kCards);
    Select(kLocked);
    EXPECT_EQ(IsPasswordEnabled(), kPasswordOn);
    {
        frmGetPassword gate(console_.get());
        gate.show();
        EXPECT_EQ(gate.windowTitle(), "Enter Password");
        EXPECT_EQ(gate.txtPassword->echoMode(), QLineEdit::Password);
        Enter(gate.txtPassword, "Secret7");
        SavePicture(&gate, "frmGetPassword");
        EXPECT_EQ(gate.txtOK(), "0") << "refused until a password was accepted";
    }
    EXPECT_EQ(GateAnswer("secret7"), "0") << "the password counts its case";
    EXPECT_EQ(LastBox(), "Invalid password ");
    EXPECT_EQ(GateAnswer(""), "0");
    EXPECT_EQ(GateAnswer("Secret7"), "1");
    // The recovery password that a first configuration sets: the hardware address's last eight
    // digits, in any case.
    ASSERT_EQ(SetPassword(kLocked, kLocked.right(8), 2), 0);
    EXPECT_EQ(GateAnswer("de0000c1"), "1");

    // Another card whose password cannot be read: the password just read elsewhere does not open it.
    Select("00C0DE0000C2");
    ASSERT_EQ(cards_.Command("fault Other ip error 5"), "ok");
    boxes_.Clear();
    EXPECT_EQ(GateAnswer("Secret7"), "0");
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(LastBox(), "The print server is unable to process your request.");
    EXPECT_EQ(IsPasswordEnabled(), kPasswordUnknown) << "a refused read is not \"off\"";
    EXPECT_FALSE(PassPasswordGate(console_.get()));
}

// What is typed is what the card stores and what later opens it: a character that has no byte of
// its own to go as is refused while it is typed, and said; never sent as something else.
TEST_F(PasswordDialogTest, APasswordGoesAsTypedOrItsCharacterIsRefusedAsItIsTyped) {
    OpenConsole(kCards);
    Select("00C0DE0000C3");
    frmConfiguration dialog(console_.get());
    ASSERT_TRUE(dialog.Form_Load());
    dialog.show();
    dialog.chkPasswordEnable->click();
    WhenModal<frmPassword>([this](frmPassword* set) {
        consoletest::TypeInto(set->txtPassword1, QString::fromUtf8("pass\u20ac"));
        EXPECT_EQ(set->txtPassword1->text(), "pass");
        EXPECT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_TRUE(LastBox().endsWith(QString::fromUtf8(" cannot be used: \u20ac")))
            << LastBox().toStdString();
        set->txtPassword1->setText("pass");
        consoletest::TypeInto(set->txtPassword1, QString::fromUtf8("\u00e9"));
        consoletest::TypeInto(set->txtPassword2, QString::fromUtf8("pass\u00e9"));
        set->pbuOK->click();
    });
    dialog.pbuPassword->click();
    EXPECT_EQ(boxes_.Shown().size(), 1u) << "the refused character only: " << LastBox().toStdString();
    QString stored;
    ASSERT_EQ(GetObjects("00C0DE0000C3", QString::fromStdString(kPasswordOid), stored, 2), 0);
    EXPECT_EQ(stored, QString::fromUtf8("pass\u00e9")) << "one byte a character, as the console reads it";
    Select("00C0DE0000C3");
    EXPECT_EQ(GateAnswer(QString::fromUtf8("pass\u00e9")), "1");
    EXPECT_EQ(GateAnswer("pass?"), "0");
}

TEST_F(PasswordDialogTest, SetAndModifyWriteTheTypedPasswordAndSayWhenTheyCannot) {
    OpenConsole(kCards);
    Select("00C0DE0000C3");
    frmConfiguration dialog(console_.get());
    ASSERT_TRUE(dialog.Form_Load());
    dialog.show();
    EXPECT_FALSE(dialog.pbuPassword->isEnabled());
    dialog.chkPasswordEnable->click();
    ASSERT_TRUE(dialog.pbuPassword->isEnabled());
    EXPECT_EQ(dialog.pbuPassword->text(), "Set Password");
    dialog.pbuOK_Click();
    EXPECT_EQ(LastBox(), "The password cannot be blank.");
    EXPECT_TRUE(dialog.isVisible());

    WhenModal<frmPassword>([this](frmPassword* set) {
        EXPECT_FALSE(set->pbuOK->isEnabled());
        EXPECT_EQ(set->txtPassword1->echoMode(), QLineEdit::Password);
        Enter(set->txtPassword1, "a,b c");
        Enter(set->txtPassword2, "a,b d");
        SavePicture(set, "frmPassword");
        set->pbuOK->click();
        EXPECT_EQ(LastBox(), "Passwords don't match ");
        Enter(set->txtPassword2, "a,b c");
        set->pbuOK->click();
    });
    dialog.pbuPassword->click();
    EXPECT_EQ(dialog.pbuPassword->text(), "Modify Password");
    EXPECT_EQ(Read("Plain", kPasswordOid), "STRING \"a,b c\"");
    EXPECT_EQ(Read("Plain", kPrivate + "12.6.1.1.0"), "INTEGER 1");

    WhenModal<frmModifyPwd>([this](frmModifyPwd* modify) {
        EXPECT_EQ(modify->txtOldPwd->echoMode(), QLineEdit::Password);
        Enter(modify->txtOldPwd, "A,B C");
        Enter(modify->txtPassword1, "next");
        Enter(modify->txtPassword2, "next");
        SavePicture(modify, "frmModifyPwd");
        modify->pbuOK->click();
        EXPECT_EQ(LastBox(), "Invalid password ") << "the card's password counts its case";
        Enter(modify->txtOldPwd, "a,b c");
        Enter(modify->txtPassword1, "");
        modify->pbuOK->click();
        EXPECT_EQ(LastBox(), "Password cannot be blank");
        Enter(modify->txtPassword1, "seventeen-letters");
        Enter(modify->txtPassword2, "seventeen-letters");
        modify->pbuOK->click();
        EXPECT_EQ(LastBox(), "Unable to set the password") << "the card takes 16 at most";
        Enter(modify->txtPassword1, "next");
        Enter(modify->txtPassword2, "next");
        modify->pbuOK->click();
    });
    dialog.pbuPassword->click();
    EXPECT_EQ(Read("Plain", kPasswordOid), "STRING \"next\"");
    boxes_.Clear();
    dialog.pbuOK_Click();
    EXPECT_TRUE(boxes_.Shown().empty()) << LastBox().toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(PasswordDialogTest, AProtectedCardIsNotConfiguredWithoutItsPassword) {
    OpenConsole(kCards);
    Select(kLocked);
    WhenModal<frmGetPassword>([](frmGetPassword* gate) {
        Enter(gate->txtPassword, "guess");
        gate->pbuOK->click();
        EXPECT_TRUE(gate->isVisible()) << "a wrong password keeps the gate up";
        gate->pbuCancel->click();
    });
    EXPECT_FALSE(RunNetworkInterface(console_.get()));
    EXPECT_EQ(LastBox(), "Invalid password ");

    WhenModal<frmGetPassword>([](frmGetPassword* gate) {
        Enter(gate->txtPassword, "Secret7");
        gate->pbuOK->click();
    });
    WhenModal<frmConfiguration>([](frmConfiguration* dialog) {
        dialog->txtDescription->setFocus();
        QTest::keyClicks(dialog->txtDescription, " 2");
        dialog->pbuOK_Click();
    });
    EXPECT_TRUE(RunNetworkInterface(console_.get()));
    EXPECT_EQ(Read("Locked", "1.3.6.1.2.1.1.6.0"), "STRING \"Print room 2\"");
}

}  // namespace
}  // namespace console
