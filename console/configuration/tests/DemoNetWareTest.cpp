// The NetWare page over the demo's own network: the simulator started on scripts/demo-network.txt as
// scripts/run starts it, so that what a newcomer does there works. On the print server Lobby, a queue
// is created on the bindery file server and one in the tree, each after a login, added to the card,
// changed to the remote printer mode and removed, each step seen on the card and in the directory.
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "console/configuration/tests/NetWarePageFixture.h"
#include "console/core/StringTable.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmBrowse.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/frmLogin.h"
#include "console/netware/frmPrintMode.h"

namespace console {
namespace {

const char* const kLobby = "00C0DE000001";

std::string DemoNetwork() {
    QFile file(DEMO_NETWORK);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << DEMO_NETWORK;
    return file.readAll().toStdString();
}

// Answers the login dialog as the demo's network wants (an empty context for a bindery login).
void LogInWhenAsked(const QString& context = {}) {
    WhenModal<frmLogin>([context](frmLogin* login) {
        Type(login->txtUserName, "ADMIN");
        Type(login->txtPasswd, "demo");
        if (!context.isEmpty()) {
            Type(login->txtContext, context);
        }
        SavePicture(login, context.isEmpty() ? "demo-frmLogin-bindery" : "demo-frmLogin-tree");
        login->cmdOk->click();
    });
}

// Creates the queue through Create Q (the print mode left at its print server mode), which then
// offers to add it; the recorder's boxes answer yes. A tree queue's volume is browsed for.
void CreateQueue(frmAddQueue* dialog, const QString& name, const QString& volume = {}) {
    WhenModal<frmCrQueue>([name, volume](frmCrQueue* create) {
        Type(create->txtQueueName, name);
        if (!volume.isEmpty()) {
            WhenModal<frmBrowse>([volume](frmBrowse* browse) {
                SavePicture(browse, "demo-frmBrowse-volume");
                Pick(browse->grdContents, volume);
                browse->cmdOk_Click();
            });
            create->cmdBrowse->click();
        }
        SavePicture(create, "demo-frmCrQueue");
        WhenModal<frmPrintMode>([](frmPrintMode* mode) { mode->cmdOk->click(); });
        create->cmdOk->click();
    });
    dialog->cmdCreateQueue->click();
}

// A dialog that a failed step left open is closed, so that the test goes on to report it.
void CloseIfOpen(frmAddQueue* dialog) {
    if (dialog->isVisible()) {
        dialog->cmdCancel->click();
    }
}

// The remote printer mode under a print server, typed (bindery) or browsed for (tree).
void ChooseRemotePrinter(const QString& printServer, bool browse) {
    WhenModal<frmPrintMode>([printServer, browse](frmPrintMode* mode) {
        mode->optModeRP->click();
        if (browse) {
            WhenModal<frmBrowse>([printServer](frmBrowse* chooser) {
                Pick(chooser->grdContents, printServer);
                chooser->cmdOk_Click();
            });
            mode->cmdBrowse->click();
        } else {
            Type(mode->txtPrintServer, printServer);
        }
        SavePicture(mode, "demo-frmPrintMode");
        mode->cmdOk->click();
    });
}

class DemoNetWareTest : public NetWarePageFixture {
  protected:
    DemoNetWareTest() : NetWarePageFixture(kLobby) {}

    void SetUp() override {
        NetWarePageFixture::SetUp();
        OpenConsole(DemoNetwork());
    }

    // Removes the page's only queue after the question, and checks that card and directory let it go.
    void RemoveTheQueue(const std::string& host, const std::string& printer, const std::string& queue) {
        SelectRow(0);
        page_->cmdRemove->click();
        EXPECT_EQ(Cell(0, 1), "< No Queues >");
        EXPECT_EQ(CardRows(), "");
        EXPECT_FALSE(Serviced(host, printer, queue)) << Show(host);
    }
};

TEST_F(DemoNetWareTest, ABinderyQueueIsCreatedAddedChangedAndRemoved) {
    OpenPage();
    WhenModal<frmAddQueue>([this](frmAddQueue* dialog) {
        EXPECT_EQ(dialog->cmbFileServers->currentText(), "OFFICE");
        EXPECT_EQ(dialog->cmbNdsTrees->currentText(), "CAMPUS");
        LogInWhenAsked();
        dialog->optFileServers->click();
        EXPECT_GE(RowNamed(dialog->grdItems, "FRONT_DESK"), 0) << "listed after the login it asked for";
        SavePicture(dialog, "demo-frmAddQueue-bindery");
        CreateQueue(dialog, "MAILROOM");
        CloseIfOpen(dialog);
    });
    page_->cmdAdd->click();
    ASSERT_EQ(boxes_.Shown().size(), 1u) << "only the question whether to add the new queue";
    EXPECT_EQ(boxes_.Shown()[0].text, LoadString(5120));
    ASSERT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"MAILROOM", "OFFICE", "PSERVER", "-"}));
    EXPECT_NE(Show("OFFICE").find("queue MAILROOM volume=SYS\n"), std::string::npos) << Show("OFFICE");
    EXPECT_TRUE(Serviced("OFFICE", "KDR000001/KDR000001_ps", "MAILROOM")) << Show("OFFICE");
    EXPECT_EQ(CardRows(), "0015,OFFICE\\MAILROOM,0001,1,0016,OFFICE\\KDR000001,0001,0");
    SavePicture(page_.get(), "demo-frmConfiguration-Netware-bindery");

    SelectRow(0);
    ChooseRemotePrinter("OFFICE_PS", false);
    page_->cmdModify->click();
    EXPECT_EQ(Row(0), QStringList({"MAILROOM", "OFFICE", "RPRINTER", "OFFICE_PS"}));
    EXPECT_TRUE(Serviced("OFFICE", "OFFICE_PS/KDR000001_rp", "MAILROOM")) << Show("OFFICE");
    EXPECT_FALSE(Serviced("OFFICE", "KDR000001/KDR000001_ps", "MAILROOM")) << Show("OFFICE");
    EXPECT_EQ(CardRows(), "0015,OFFICE\\MAILROOM,0001,2,0016,OFFICE\\OFFICE_PS,0001,0");

    RemoveTheQueue("OFFICE", "OFFICE_PS/KDR000001_rp", "MAILROOM");
    EXPECT_EQ(boxes_.Shown().back().text, "Confirm queue removal: MAILROOM?");
}

TEST_F(DemoNetWareTest, ATreeQueueIsCreatedAddedChangedAndRemoved) {
    OpenPage();
    WhenModal<frmAddQueue>([](frmAddQueue* dialog) {
        EXPECT_TRUE(dialog->optNdsTrees->isChecked()) << "the tree is the first source";
        EXPECT_EQ(dialog->txtCurrentContext->text(), "ENG.HQ");
        EXPECT_GE(RowNamed(dialog->grdItems, "DRAWINGS"), 0);
        SavePicture(dialog, "demo-frmAddQueue-tree");
        LogInWhenAsked("HQ");
        dialog->cmdLogin->click();
        CreateQueue(dialog, "PLANS", "DATA");
        CloseIfOpen(dialog);
    });
    page_->cmdAdd->click();
    ASSERT_EQ(boxes_.Shown().size(), 1u) << "only the question whether to add the new queue";
    ASSERT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"PLANS.ENG.HQ", "CAMPUS", "PSERVER", "-"}));
    EXPECT_NE(Show("CAMPUS").find("queue PLANS.ENG.HQ volume=DATA.ENG.HQ\n"), std::string::npos)
        << Show("CAMPUS");
    EXPECT_TRUE(Serviced("CAMPUS", "KDR000001_ps.ENG.HQ", "PLANS.ENG.HQ")) << Show("CAMPUS");
    EXPECT_EQ(CardRows(), "0019,CAMPUS\\PLANS.ENG.HQ,0001,3,0023,CAMPUS\\KDR000001.ENG.HQ,0001,0");
    SavePicture(page_.get(), "demo-frmConfiguration-Netware-tree");

    SelectRow(0);
    ChooseRemotePrinter("ENG_PS", true);
    page_->cmdModify->click();
    EXPECT_EQ(Row(0), QStringList({"PLANS.ENG.HQ", "CAMPUS", "RPRINTER", "ENG_PS.ENG.HQ"}));
    EXPECT_TRUE(Serviced("CAMPUS", "KDR000001_rp.ENG.HQ", "PLANS.ENG.HQ")) << Show("CAMPUS");
    EXPECT_FALSE(Serviced("CAMPUS", "KDR000001_ps.ENG.HQ", "PLANS.ENG.HQ")) << Show("CAMPUS");
    EXPECT_EQ(CardRows(), "0019,CAMPUS\\PLANS.ENG.HQ,0001,4,0020,CAMPUS\\ENG_PS.ENG.HQ,0001,0");

    RemoveTheQueue("CAMPUS", "KDR000001_rp.ENG.HQ", "PLANS.ENG.HQ");
}

}  // namespace
}  // namespace console
