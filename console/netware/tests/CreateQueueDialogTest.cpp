// The create queue dialog: a bindery queue by its name, a directory queue with its context and a
// browsed volume, each made in the simulated network; refusals shown and nothing claimed made.
#include <QLabel>

#include "console/core/dialogs/DialogKit.h"
#include "console/netware/frmBrowse.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/tests/NetWareDialogsFixture.h"

namespace console {
namespace {

class CreateQueueDialogTest : public NetWareDialogsFixture {
  protected:
    void Prepare(int16_t bindery, const QString& tree = "ACME") {
        CrQueueBindery = bindery;
        CrQueueServer = "FS1";
        CrQueueTree = tree;
        CrQueueContext = "ENG.ORG";
        CrQueueCreated = 5;
        CrQueueName.clear();
    }
    bool Holds(const std::string& place, const std::string& queue) {
        return Show(place).find(queue) != std::string::npos;
    }
};

TEST_F(CreateQueueDialogTest, ABinderyQueueNeedsOnlyItsName) {
    LogInToFileServer("FS1", "ADMIN", "secret");
    Prepare(-1);
    frmCrQueue dialog(nullptr);
    dialog.show();
    for (QWidget* control :
         std::initializer_list<QWidget*>{dialog.txtContext, dialog.txtVolume, dialog.cmdBrowse}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_EQ(dialog.txtContext->text(), "");
    EXPECT_FALSE(dialog.cmdOk->isEnabled());
    dialog.txtQueueName->setText("NEWQ");
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    SavePicture(&dialog, "frmCrQueue-bindery");
    // The guide names the control under the mouse; a label clears it.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(dialog.cmdBrowse, &enter);
    EXPECT_EQ(dialog.pnlOpGuide->text(), "Browse for the volume");
    QApplication::sendEvent(dialog.findChild<QLabel*>("lblVolume"), &enter);
    EXPECT_EQ(dialog.pnlOpGuide->text(), "");
    dialog.cmdOk->click();
    EXPECT_EQ(CrQueueCreated, -1);
    EXPECT_EQ(CrQueueName, "NEWQ");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Holds("FS1", "NEWQ"));
    EXPECT_EQ(Boxes(), QStringList());
}

TEST_F(CreateQueueDialogTest, ADirectoryQueueNeedsAContextAndAVolumeChosenByBrowsing) {
    LogInToAcme();
    Prepare(0);
    frmCrQueue dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.txtContext->text(), "ENG.ORG");
    dialog.txtQueueName->setText("DIRQ");
    EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "no volume yet";
    WhenModal<frmBrowse>([](frmBrowse* browse) {
        EXPECT_EQ(BrowseMode, "VOLUME");
        browse->imgBack->click();
        const QList<QTableWidgetItem*> sys = browse->grdContents->findItems("SYS", Qt::MatchExactly);
        ASSERT_FALSE(sys.isEmpty());
        browse->grdContents->setCurrentCell(sys.front()->row(), 1);
        browse->cmdOk->click();
    });
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.txtVolume->text(), "SYS.ORG");
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    dialog.txtContext->clear();
    EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "a cleared context is checked again";
    dialog.txtContext->setText("ENG.ORG");
    SavePicture(&dialog, "frmCrQueue-directory");
    dialog.cmdOk->click();
    EXPECT_EQ(CrQueueCreated, -1);
    EXPECT_EQ(CrQueueName, "DIRQ");
    EXPECT_TRUE(Holds("ACME", "DIRQ.ENG.ORG"));
}

TEST_F(CreateQueueDialogTest, ARefusedQueueIsShownAndTheDialogClosesWithNothingMade) {
    struct Case {
        int16_t bindery;
        QString tree;
        bool login;
        std::string fault;
        QString message;
    };
    for (const Case& c : {Case{0, "ACME", false, "", "Login required for operation"},
                          Case{0, "NOWHERE", false, "", "Invalid tree name"},
                          Case{0, "ACME", true, "fault create-queue 1 -1", "Unable to create queue"},
                          Case{-1, "ACME", true, "fault create-queue 1 -1", "Unable to create queue"}}) {
        if (c.login) {
            c.bindery == -1 ? LogInToFileServer("FS1", "ADMIN", "secret") : LogInToAcme();
        }
        if (!c.fault.empty()) {
            Seed({c.fault});
        }
        Prepare(c.bindery, c.tree);
        frmCrQueue dialog(nullptr);
        dialog.show();
        dialog.txtQueueName->setText("BADQ");
        dialog.txtVolume->setText("SYS.ORG");
        dialog.cmdOk->click();
        EXPECT_EQ(Boxes(), QStringList{c.message}) << c.message.toStdString();
        EXPECT_EQ(CrQueueCreated, 0);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(Holds("ACME", "BADQ") || Holds("FS1", "BADQ"));
    }
}

// A user without the right to make queues is refused by the network, in a bindery and in a tree:
// the dialog says the queue was not made, and nothing was.
TEST_F(CreateQueueDialogTest, AnOrdinaryUsersQueueIsRefusedByTheNetwork) {
    Seed({"user FS1 CLERK pw ordinary", "object ACME user CLERK.ORG pw ordinary"});
    LogInToFileServer("FS1", "CLERK", "pw");
    char tree[] = "ACME";
    ASSERT_EQ(tessik::NwNdsLogin(tree, "CLERK", "ORG", "pw"), kNwOk);
    for (const int16_t bindery : {int16_t{-1}, int16_t{0}}) {
        Prepare(bindery);
        frmCrQueue dialog(nullptr);
        dialog.show();
        dialog.txtQueueName->setText("CLERKQ");
        dialog.txtVolume->setText("SYS.ORG");
        dialog.cmdOk->click();
        EXPECT_EQ(Boxes(), QStringList{"Unable to create queue"}) << bindery;
        EXPECT_EQ(CrQueueCreated, 0);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(Holds("ACME", "CLERKQ") || Holds("FS1", "CLERKQ"));
    }
}

TEST_F(CreateQueueDialogTest, CancelMakesNothing) {
    Prepare(-1);
    WhenModal<frmCrQueue>([](frmCrQueue* dialog) {
        dialog->txtQueueName->setText("NEVER");
        dialog->cmdCancel->click();
    });
    ShowCreateQueueDialog(nullptr);
    EXPECT_EQ(CrQueueCreated, 0);
    EXPECT_FALSE(Holds("FS1", "NEVER"));
}

}  // namespace
}  // namespace console
