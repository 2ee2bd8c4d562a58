// The login dialog: bindery and tree logins as the kind and the check box choose, OK only with what
// the login needs, refusals shown with the dialog kept open, and the context chosen by browsing.
#include <QCheckBox>

#include "console/netware/frmBrowse.h"
#include "console/netware/frmLogin.h"
#include "console/netware/tests/NetWareDialogsFixture.h"
#include "console/tests/Typing.h"

namespace console {
namespace {

class LoginDialogTest : public NetWareDialogsFixture {
  protected:
    void Prepare(int16_t kind, const QString& context = "ORG") {
        NwLoginKind = kind;
        NwLoginServer = "FS1";
        NwLoginTree = "ACME";
        NwLoginContext = context;
        NwLoginResult = 5;
    }
};

TEST_F(LoginDialogTest, KindsChooseTheControlsAndOkNeedsWhatTheLoginNeeds) {
    struct Case {
        int16_t kind;
        bool checkEnabled, checked, contextEnabled;
    };
    for (const Case& c :
         {Case{1, false, false, false}, Case{2, true, true, false}, Case{3, false, false, true}}) {
        Prepare(c.kind);
        frmLogin dialog(nullptr);
        EXPECT_EQ(dialog.chkBinderyConn->isEnabled(), c.checkEnabled) << c.kind;
        EXPECT_EQ(dialog.chkBinderyConn->isChecked(), c.checked) << c.kind;
        EXPECT_EQ(dialog.txtContext->isEnabled(), c.contextEnabled) << c.kind;
        EXPECT_EQ(dialog.cmdBrowse->isEnabled(), c.contextEnabled) << c.kind;
        EXPECT_EQ(dialog.txtContext->text(), c.kind == 1 ? "" : "ORG") << c.kind;
        EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "no user name yet, kind " << c.kind;
        dialog.txtUserName->setText("ADMIN");
        EXPECT_TRUE(dialog.cmdOk->isEnabled()) << c.kind;
        // A tree login needs a context: a cleared box is checked again.
        dialog.txtContext->clear();
        EXPECT_EQ(dialog.cmdOk->isEnabled(), !c.contextEnabled) << c.kind;
    }
    Prepare(2, "");
    frmLogin dialog(nullptr);
    dialog.txtUserName->setText("ADMIN");
    EXPECT_TRUE(dialog.cmdOk->isEnabled()) << "a bindery login needs no context";
    dialog.chkBinderyConn->click();
    EXPECT_TRUE(dialog.txtContext->isEnabled());
    EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "cleared, the box asks for a tree login and its context";
    dialog.txtContext->setText("ORG");
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    dialog.txtContext->setText("   ");
    EXPECT_FALSE(dialog.cmdOk->isEnabled());
    dialog.show();
    SavePicture(&dialog, "frmLogin");
}

TEST_F(LoginDialogTest, ABinderyLoginToAServerInATreeKeepsKindTwo) {
    Prepare(2);
    frmLogin dialog(nullptr);
    dialog.txtUserName->setText("admin");
    dialog.txtPasswd->setText("secret");
    dialog.cmdOk->click();
    EXPECT_EQ(NwLoginResult, 0);
    EXPECT_EQ(NwLoginKind, 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Boxes(), QStringList());
}

TEST_F(LoginDialogTest, ATreeLoginFromAServerInATreeBecomesKindThree) {
    Prepare(2);
    frmLogin dialog(nullptr);
    dialog.chkBinderyConn->click();
    dialog.txtUserName->setText("ADMIN");
    dialog.txtPasswd->setText("secret");
    dialog.cmdOk->click();
    EXPECT_EQ(NwLoginResult, 0);
    EXPECT_EQ(NwLoginKind, 3);
}

TEST_F(LoginDialogTest, RefusalsShowTheLibrarysMessageAndKeepTheDialogOpen) {
    struct Case {
        int16_t kind;
        QString tree, password, message;
    };
    for (const Case& c : {Case{1, "ACME", "wrong", "Error logging in to file server "},
                          Case{3, "NOWHERE", "secret", "Invalid tree name"},
                          Case{3, "ACME", "wrong", "Error logging in to file server "}}) {
        Prepare(c.kind);
        NwLoginTree = c.tree;
        frmLogin dialog(nullptr);
        dialog.show();
        dialog.txtUserName->setText("ADMIN");
        dialog.txtPasswd->setText(c.password);
        dialog.cmdOk->click();
        EXPECT_EQ(NwLoginResult, -1) << c.message.toStdString();
        EXPECT_EQ(Boxes(), QStringList{c.message});
        EXPECT_TRUE(dialog.isVisible()) << "another try";
        EXPECT_EQ(dialog.txtUserName->text(), "ADMIN");
    }
    LogInToAcme();
    Prepare(3);
    frmLogin dialog(nullptr);
    dialog.show();
    dialog.txtUserName->setText("ADMIN");
    dialog.txtPasswd->setText("secret");
    dialog.cmdOk->click();
    EXPECT_EQ(Boxes(), QStringList{"Work station already logged in"});
    // Cancel after a failed attempt stays a cancel.
    dialog.cmdCancel->click();
    EXPECT_EQ(NwLoginResult, -1);
    EXPECT_FALSE(dialog.isVisible());
}

// The password goes to the file server one byte a character: a character without a byte of its own
// is refused as it is typed, and said, so that the login goes with the password as typed.
TEST_F(LoginDialogTest, APasswordCharacterWithoutAByteIsRefusedAsItIsTyped) {
    Prepare(1);
    frmLogin dialog(nullptr);
    dialog.show();
    dialog.txtUserName->setText("ADMIN");
    consoletest::TypeInto(dialog.txtPasswd, QString::fromUtf8("sec\u20acret"));
    EXPECT_EQ(dialog.txtPasswd->text(), "secret");
    const QStringList boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1) << boxes.join(" | ").toStdString();
    EXPECT_TRUE(boxes.front().startsWith("A password can hold only")) << boxes.front().toStdString();
    EXPECT_TRUE(boxes.front().endsWith(QString::fromUtf8(" cannot be used: \u20ac")))
        << boxes.front().toStdString();
    dialog.cmdOk->click();
    EXPECT_EQ(NwLoginResult, 0);
    EXPECT_EQ(Boxes(), QStringList());
}

TEST_F(LoginDialogTest, ShownModallyItAnswersThroughTheGlobals) {
    Prepare(1);
    WhenModal<frmLogin>([](frmLogin* dialog) { dialog->reject(); });
    ShowLoginDialog(nullptr);
    EXPECT_EQ(NwLoginResult, -1) << "Esc or Cancel";

    Prepare(1);
    WhenModal<frmLogin>([](frmLogin* dialog) {
        dialog->txtUserName->setText("ADMIN");
        dialog->txtPasswd->setText("secret");
        dialog->cmdOk->click();
    });
    ShowLoginDialog(nullptr);
    EXPECT_EQ(NwLoginResult, 0);
    EXPECT_EQ(NwLoginKind, 1);
}

TEST_F(LoginDialogTest, BrowseChoosesTheContextOfATreeLogin) {
    Prepare(3, "ENG.ORG");
    frmLogin dialog(nullptr);
    WhenModal<frmBrowse>([](frmBrowse* browse) {
        EXPECT_EQ(BrowseMode, "CONTEXT");
        EXPECT_EQ(browse->txtCurrentContext->text(), "ENG.ORG");
        browse->imgBack->click();
        browse->cmdOk->click();
    });
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.txtContext->text(), "ORG");

    WhenModal<frmBrowse>([](frmBrowse* browse) { browse->cmdCancel->click(); });
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.txtContext->text(), "ORG") << "a cancelled browse changes nothing";
}

}  // namespace
}  // namespace console
