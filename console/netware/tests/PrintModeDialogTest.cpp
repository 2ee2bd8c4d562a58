// The print mode dialog: the queue's current mode shown, RPRINTER only with a print server, and the
// choice kept in QueueModeTable, one entry per queue as NetWare names it.
#include <QRadioButton>

#include "console/netware/ServicedQueues.h"
#include "console/netware/frmBrowse.h"
#include "console/netware/frmPrintMode.h"
#include "console/netware/tests/NetWareDialogsFixture.h"

namespace console {
namespace {

class PrintModeDialogTest : public NetWareDialogsFixture {
  protected:
    void Prepare(const QString& queue, int16_t bindery, const QString& server = "FS1") {
        PrintModeQueue = queue;
        PrintModeBindery = bindery;
        PrintModeServer = server;
        PrintModeTree = "ACME";
        PrintModeContext = "ENG.ORG";
        PrintModeAccepted = 5;
    }
    // Confirms the dialog with RPRINTER and the print server chosen by browsing (or typed when
    // `typed` is given).
    void ConfirmRemotePrinter(const QString& typed = {}) {
        frmPrintMode dialog(nullptr);
        dialog.optModeRP->click();
        if (typed.isEmpty()) {
            WhenModal<frmBrowse>([](frmBrowse* browse) {
                browse->grdContents->setCurrentCell(0, 1);
                browse->cmdOk->click();
            });
            dialog.cmdBrowse->click();
        } else {
            dialog.txtPrintServer->setText(typed);
        }
        dialog.cmdOk->click();
    }
};

TEST_F(PrintModeDialogTest, AQueueWithoutAnEntryStartsAtPserverAndRprinterNeedsAPrintServer) {
    Prepare("Q1", -1);
    frmPrintMode dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.txtQueueName->text(), "Q1");
    EXPECT_TRUE(dialog.optModePS->isChecked());
    EXPECT_FALSE(dialog.txtPrintServer->isEnabled());
    EXPECT_FALSE(dialog.cmdBrowse->isEnabled());
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    dialog.optModeRP->click();
    EXPECT_TRUE(dialog.txtPrintServer->isEnabled());
    EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "RPRINTER without a print server";
    dialog.txtPrintServer->setText("PS1");
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    SavePicture(&dialog, "frmPrintMode");
    dialog.cmdCancel->click();
    EXPECT_EQ(PrintModeAccepted, 0);
    EXPECT_TRUE(QueueModeTable.empty()) << "Cancel leaves the table alone";
}

TEST_F(PrintModeDialogTest, TheChoiceIsKeptAndAPserverEntryHoldsNoStalePrintServer) {
    Prepare("Q1", 0);
    ConfirmRemotePrinter();
    EXPECT_EQ(PrintModeAccepted, -1);
    EXPECT_EQ(PrintModeChoice, kDirectoryRemotePrinter);
    EXPECT_EQ(PrintModePrintServer, "PS1");
    ASSERT_EQ(QueueModeTable.size(), 1u);
    const QueueModeEntry remote = QueueModeTable[0];
    EXPECT_EQ(remote.QueueName, "Q1");
    EXPECT_EQ(remote.Bindery, 0);
    EXPECT_EQ(remote.Tree, "ACME");
    EXPECT_EQ(remote.Mode, kDirectoryRemotePrinter);
    EXPECT_EQ(remote.PrintServer, "PS1");
    EXPECT_EQ(remote.PrintServerContext, "ENG.ORG");

    // Shown again (the name as NetWare compares it), then confirmed as a print server of its own.
    Prepare("q1", 0);
    frmPrintMode dialog(nullptr);
    EXPECT_TRUE(dialog.optModeRP->isChecked());
    EXPECT_EQ(dialog.txtPrintServer->text(), "PS1");
    dialog.optModePS->click();
    dialog.cmdOk->click();
    ASSERT_EQ(QueueModeTable.size(), 1u) << "the entry is overwritten";
    EXPECT_EQ(QueueModeTable[0].Mode, kDirectoryPrintServer);
    EXPECT_EQ(QueueModeTable[0].PrintServer, "");
    EXPECT_EQ(QueueModeTable[0].PrintServerContext, "");
    EXPECT_EQ(PrintModePrintServer, "");
}

TEST_F(PrintModeDialogTest, ATypedPrintServerTakesNoContextFromAnEarlierBrowse) {
    Prepare("Q2", 0);
    ConfirmRemotePrinter();
    ASSERT_EQ(BrowseChoiceContext, "ENG.ORG");
    Prepare("Q3", 0);
    ConfirmRemotePrinter("OTHERPS");
    const int index = FindQueueMode("Q3", 0, "", "ACME");
    ASSERT_GE(index, 0);
    EXPECT_EQ(QueueModeTable[static_cast<std::size_t>(index)].PrintServer, "OTHERPS");
    EXPECT_EQ(QueueModeTable[static_cast<std::size_t>(index)].PrintServerContext, "");
}

TEST_F(PrintModeDialogTest, QueuesAreKnownByNameAndPlaceWithoutRegardToCase) {
    Prepare("Q1", -1, "FS1");
    ConfirmRemotePrinter();
    EXPECT_EQ(PrintModeChoice, kBinderyRemotePrinter);
    Prepare("Q1", -1, "FS2");
    frmPrintMode dialog(nullptr);
    EXPECT_TRUE(dialog.optModePS->isChecked()) << "the same name on another file server is another queue";
    dialog.cmdOk->click();
    ASSERT_EQ(QueueModeTable.size(), 2u);

    struct Case {
        QString queue;
        int16_t bindery;
        QString server, tree;
        int index;
    };
    for (const Case& c :
         {Case{"Q1", -1, "FS1", "", 0}, Case{"q1", -1, "fs2", "", 1}, Case{"Q1", -1, "FS3", "", -1},
          Case{"Q1", 0, "FS1", "ACME", -1}, Case{"Q9", -1, "FS1", "", -1}}) {
        EXPECT_EQ(FindQueueMode(c.queue, c.bindery, c.server, c.tree), c.index)
            << c.queue.toStdString() << " " << c.server.toStdString();
    }
}

}  // namespace
}  // namespace console
