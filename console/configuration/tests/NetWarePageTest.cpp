// The NetWare page of the network interface dialog and the add queue dialog, offscreen against a
// simulated card and a simulated NetWare network: the card's serviced queues and their modes, a
// bindery queue and a directory queue added (with a login, a browse and a queue created on the way),
// a mode changed, a queue removed, both check delays written, and every refusal the network or the
// card can give shown, with card and directory still agreeing. Pictures go into the build folder.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <cstdio>

#include "console/configuration/CheckDelayBox.h"
#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/NetWarePageFixture.h"
#include "console/core/StringTable.h"
#include "console/netware/NameListGrid.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmBrowse.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/frmLogin.h"
#include "console/netware/frmNwError.h"
#include "console/netware/frmPrintMode.h"
#include "platform/netware/NetWareClient.h"

namespace console {
namespace {

const char* const kAdapter = "00C0DE0000B1";
const std::string kCardLine = "card Nw mac=00C0DE0000B1 ip=127.0.2.1 protocols=ip engine=office\n";

class NetWarePageTest : public NetWarePageFixture {
  protected:
    explicit NetWarePageTest(std::string cardLines = kCardLine)
        : NetWarePageFixture(kAdapter), cardLines_(std::move(cardLines)) {}

    void SetUp() override {
        NetWarePageFixture::SetUp();
        OpenConsole(cardLines_);
        for (const char* line : kPageNetWare) {
            ASSERT_EQ(cards_.Command(std::string("netware ") + line), "ok") << line;
        }
    }

    void LogIn() {
        char server[] = "FS1", user[] = "ADMIN", password[] = "secret", tree[] = "ACME";
        ASSERT_EQ(tessik::NwBiLogin(server, user, password), kNwOk);
        ASSERT_EQ(tessik::NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwOk);
    }
    // Q1 of FS1 serviced by the card as a print server, Q2 of the tree as a remote printer of PS1.
    void ServeTwoQueues() {
        LogIn();
        char server[] = "FS1", queue[] = "Q1", printServer[] = "KDR0000B1", printer[] = "KDR0000B1_ps";
        ASSERT_EQ(tessik::NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
        char tree[] = "ACME";
        ASSERT_EQ(
            tessik::NwNdsAddSerList(kAdapter, tree, "Q2", "ENG.ORG", 4, "PS1", "ENG.ORG", "KDR0000B1_rp"),
            kNwOk);
    }
    // Adds Q1 of FS1 through the add queue dialog (logged in already), as a remote printer of the
    // print server when one is given (chosen in the print mode dialog).
    void AddBinderyQueue(const QString& remotePrinterOf = {}) {
        WhenModal<frmAddQueue>([remotePrinterOf](frmAddQueue* dialog) {
            dialog->optFileServers->click();
            Pick(dialog->grdItems, "Q1");
            if (!remotePrinterOf.isEmpty()) {
                WhenModal<frmPrintMode>([remotePrinterOf](frmPrintMode* mode) {
                    mode->optModeRP->click();
                    Type(mode->txtPrintServer, remotePrinterOf);
                    mode->cmdOk->click();
                });
                dialog->cmdSelectMode->click();
            }
            dialog->cmdOk->click();
            if (dialog->isVisible()) {
                dialog->cmdCancel->click();
            }
        });
        page_->cmdAdd->click();
    }
    // Answers the NetWare error dialog when it comes, keeping its text.
    static void AnswerErrorDialog(QString& text) {
        WhenModal<frmNwError>([&text](frmNwError* error) {
            text = error->lblErrorString->text();
            error->cmdOk->click();
        });
    }

    const std::string cardLines_;
};

TEST_F(NetWarePageTest, ListsTheCardsServicedQueuesWithTheirModes) {
    OpenPage();
    EXPECT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Cell(0, 1), "< No Queues >");
    EXPECT_TRUE(page_->cmdAdd->isEnabled());
    EXPECT_FALSE(page_->cmdRemove->isEnabled());
    EXPECT_FALSE(page_->cmdModify->isEnabled());
    EXPECT_EQ(page_->txtCfgChkDelay->value(), 30);
    EXPECT_EQ(page_->txtJobChkDelay->value(), 5) << "the card's value, below the page's step floor";
    SavePicture(page_.get(), "frmConfiguration-Netware-empty");

    ServeTwoQueues();
    OpenPage();
    ASSERT_EQ(page_->grdQueues->rowCount(), 2);
    EXPECT_EQ(Row(0), QStringList({"Q1", "FS1", "PSERVER", "-"}));
    EXPECT_EQ(Row(1), QStringList({"Q2.ENG.ORG", "ACME", "RPRINTER", "PS1.ENG.ORG"}));
    EXPECT_TRUE(page_->cmdRemove->isEnabled());
    EXPECT_TRUE(page_->cmdModify->isEnabled());
    EXPECT_TRUE(boxes_.Shown().empty());
    SavePicture(page_.get(), "frmConfiguration-Netware-queues");
}

TEST_F(NetWarePageTest, ModeChangesMoveTheQueueOnTheCardAndInTheDirectory) {
    ServeTwoQueues();
    OpenPage();
    SelectRow(1);
    page_->cmdModify->click();
    EXPECT_EQ(Row(1), QStringList({"Q2.ENG.ORG", "ACME", "PSERVER", "-"}));
    EXPECT_TRUE(Serviced("ACME", "KDR0000B1_ps.ENG.ORG", "Q2.ENG.ORG")) << Show("ACME");
    EXPECT_FALSE(Serviced("ACME", "KDR0000B1_rp.ENG.ORG", "Q2.ENG.ORG")) << Show("ACME");

    SelectRow(0);
    WhenModal<frmPrintMode>([](frmPrintMode* mode) {
        mode->optModeRP->click();
        Type(mode->txtPrintServer, "PS1");
        mode->cmdOk->click();
    });
    page_->cmdModify->click();
    EXPECT_EQ(Row(0), QStringList({"Q1", "FS1", "RPRINTER", "PS1"}));
    EXPECT_TRUE(Serviced("FS1", "PS1/KDR0000B1_rp", "Q1")) << Show("FS1");
    EXPECT_TRUE(boxes_.Shown().empty());

    // A directory print server typed without its context is refused, not sent as "PS1.".
    SelectRow(1);
    WhenModal<frmPrintMode>([](frmPrintMode* mode) {
        mode->optModeRP->click();
        Type(mode->txtPrintServer, "PS1");
        mode->cmdOk->click();
    });
    page_->cmdModify->click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, LoadString(9420));
    EXPECT_EQ(Row(1), QStringList({"Q2.ENG.ORG", "ACME", "PSERVER", "-"}));
}

TEST_F(NetWarePageTest, RemovingAQueueAsksFirstAndTakesItOffCardAndDirectory) {
    ServeTwoQueues();
    OpenPage();
    SelectRow(0);
    boxes_.Answer(kCancel);
    page_->cmdRemove->click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Confirm queue removal: Q1?");
    EXPECT_EQ(page_->grdQueues->rowCount(), 2);

    boxes_.Answer(kOk);
    page_->cmdRemove->click();
    ASSERT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Row(0)[0], "Q2.ENG.ORG");
    EXPECT_FALSE(Serviced("FS1", "KDR0000B1/KDR0000B1_ps", "Q1")) << Show("FS1");

    SelectRow(0);
    QTest::keyClick(page_->grdQueues, Qt::Key_Delete);
    EXPECT_EQ(Cell(0, 1), "< No Queues >");
    EXPECT_EQ(CardRows(), "");
    EXPECT_FALSE(Serviced("ACME", "KDR0000B1_rp.ENG.ORG", "Q2.ENG.ORG")) << Show("ACME");
    EXPECT_FALSE(page_->cmdRemove->isEnabled());
}

TEST_F(NetWarePageTest, OkWritesTheCheckDelaysThatChanged) {
    OpenPage();
    page_->txtCfgChkDelay->setFocus();
    QTest::keyClick(page_->txtCfgChkDelay, Qt::Key_Up);
    page_->txtJobChkDelay->setValue(120);
    page_->pbuOK->click();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(cards_.Number("Nw", kPrivate + "12.1.2.0"), 35);
    EXPECT_EQ(cards_.Number("Nw", kPrivate + "12.1.1.0"), 120);
}

// A card may hold delays the boxes would not let anyone type (a configuration delay of 0): they are
// shown as they are, OK leaves them on the card, and only the box the user changed is written.
TEST_F(NetWarePageTest, OkLeavesTheCardsOwnDelaysThatNobodyChanged) {
    const std::string configuration = kPrivate + "12.1.2.0", job = kPrivate + "12.1.1.0";
    for (const bool changeJob : {false, true}) {
        ASSERT_EQ(cards_.Command("put Nw " + configuration + " integer 0"), "ok");
        ASSERT_EQ(cards_.Command("put Nw " + job + " integer 5000"), "ok");
        OpenPage();
        EXPECT_EQ(page_->txtCfgChkDelay->text().toStdString(), "0");
        EXPECT_EQ(page_->txtJobChkDelay->text().toStdString(), "5000");
        if (changeJob) {
            page_->txtJobChkDelay->setFocus();
            page_->txtJobChkDelay->selectAll();
            QTest::keyClicks(page_->txtJobChkDelay, "120");
            QTest::keyClick(page_->txtJobChkDelay, Qt::Key_Tab);
        }
        page_->pbuOK->click();
        EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
        EXPECT_EQ(cards_.Number("Nw", configuration), 0) << changeJob;
        EXPECT_EQ(cards_.Number("Nw", job), changeJob ? 120 : 5000);
    }
}

TEST_F(NetWarePageTest, AddsABinderyQueueAfterTheLoginItsListingAsksFor) {
    OpenPage();
    page_->txtJobChkDelay->setValue(60);
    WhenModal<frmAddQueue>([this](frmAddQueue* dialog) {
        EXPECT_TRUE(dialog->optNdsTrees->isChecked()) << "a tree is the first source";
        EXPECT_EQ(dialog->txtCurrentContext->text(), "ENG.ORG");
        EXPECT_GE(RowNamed(dialog->grdItems, "Q2"), 0);
        SavePicture(dialog, "frmAddQueue-directory");
        // A directory queue needs a context: an emptied box leaves nothing to add or create.
        EXPECT_TRUE(dialog->cmdOk->isEnabled());
        dialog->txtCurrentContext->clear();
        EXPECT_FALSE(dialog->cmdOk->isEnabled());
        EXPECT_FALSE(dialog->cmdCreateQueue->isEnabled());
        EXPECT_FALSE(dialog->cmdSelectMode->isEnabled());
        WhenModal<frmLogin>([](frmLogin* login) {
            Type(login->txtUserName, "admin");
            Type(login->txtPasswd, "secret");
            login->cmdOk->click();
        });
        dialog->optFileServers->click();
        EXPECT_EQ(dialog->grdItems->rowCount(), 2);
        SavePicture(dialog, "frmAddQueue-bindery");
        Pick(dialog->grdItems, "Q2");
        dialog->cmdOk->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    page_->cmdAdd->click();
    EXPECT_TRUE(boxes_.Shown().empty());
    ASSERT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"Q2", "FS1", "PSERVER", "-"}));
    EXPECT_TRUE(Serviced("FS1", "KDR0000B1/KDR0000B1_ps", "Q2")) << Show("FS1");
    EXPECT_EQ(page_->txtJobChkDelay->value(), 60) << "the delay typed before the add stays";
}

TEST_F(NetWarePageTest, AddsADirectoryQueueCreatedOnTheWay) {
    OpenPage();
    WhenModal<frmAddQueue>([](frmAddQueue* dialog) {
        WhenModal<frmLogin>([](frmLogin* login) {
            Type(login->txtUserName, "ADMIN");
            Type(login->txtPasswd, "secret");
            Type(login->txtContext, "ORG");
            login->cmdOk->click();
        });
        dialog->cmdLogin->click();
        WhenModal<frmCrQueue>([](frmCrQueue* create) {
            Type(create->txtQueueName, "NEWQ");
            WhenModal<frmBrowse>([](frmBrowse* browse) {
                browse->imgBack_Click();
                Pick(browse->grdContents, "SYS");
                browse->cmdOk_Click();
            });
            create->cmdBrowse->click();
            EXPECT_EQ(create->txtVolume->text(), "SYS.ORG");
            WhenModal<frmPrintMode>([](frmPrintMode* mode) { mode->cmdOk->click(); });
            create->cmdOk->click();
        });
        dialog->cmdCreateQueue->click();
    });
    page_->cmdAdd->click();
    ASSERT_EQ(boxes_.Shown().size(), 1u) << "only the question whether to add the new queue";
    EXPECT_EQ(boxes_.Shown()[0].text, LoadString(5120));
    ASSERT_EQ(page_->grdQueues->rowCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"NEWQ.ENG.ORG", "ACME", "PSERVER", "-"}));
    EXPECT_TRUE(Serviced("ACME", "KDR0000B1_ps.ENG.ORG", "NEWQ.ENG.ORG")) << Show("ACME");
}

// The card is one print server in a tree: its context comes from a queue it serves as a print
// server, never from one it prints as a remote printer of another print server.
TEST_F(NetWarePageTest, ADirectoryQueueIsServedUnderTheCardsOwnPrintServerContext) {
    for (const char* line : {"object ACME container SALES.ORG", "object ACME print-server PSX.SALES.ORG"}) {
        ASSERT_EQ(cards_.Command(std::string("netware ") + line), "ok") << line;
    }
    LogIn();
    char tree[] = "ACME";
    ASSERT_EQ(tessik::NwNdsAddSerList(kAdapter, tree, "Q2", "ENG.ORG", 4, "PSX", "SALES.ORG", "KDR0000B1_rp"),
              kNwOk);
    OpenPage();
    WhenModal<frmAddQueue>([](frmAddQueue* dialog) {
        // Up to ORG, which holds containers only, and back down into ENG with Enter.
        dialog->imgBack->click();
        EXPECT_EQ(dialog->txtCurrentContext->text(), "ORG");
        Pick(dialog->grdItems, "ENG");
        EXPECT_FALSE(dialog->cmdOk->isEnabled()) << "a container is opened, not added";
        EXPECT_TRUE(dialog->cmdCreateQueue->isEnabled());
        QTest::keyClick(dialog->grdItems, Qt::Key_Return);
        EXPECT_EQ(dialog->txtCurrentContext->text(), "ENG.ORG");
        Pick(dialog->grdItems, "Q1");
        dialog->cmdOk->click();
    });
    page_->cmdAdd->click();
    EXPECT_TRUE(Serviced("ACME", "KDR0000B1_ps.ENG.ORG", "Q1.ENG.ORG")) << Show("ACME");
    EXPECT_EQ(page_->grdQueues->rowCount(), 2);
}

// Reading the tree's context fails: the listing fails with that message (never message 0, the
// product title), and a login that cannot even be offered ends the offers as a cancel would.
TEST_F(NetWarePageTest, AContextThatCannotBeReadFailsTheListingWithItsOwnMessage) {
    OpenPage();
    ASSERT_EQ(cards_.Command("netware fault current-context 1 -1"), "ok");
    WhenModal<frmAddQueue>([this](frmAddQueue* dialog) {
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].text, LoadString(30002));
        EXPECT_EQ(dialog->grdItems->item(0, 1)->text(), "< Error in obtaining queues >");
        EXPECT_FALSE(dialog->cmdCreateQueue->isEnabled());
        EXPECT_FALSE(dialog->cmdOk->isEnabled());

        boxes_.Clear();
        ASSERT_EQ(cards_.Command("netware fault current-context 1 -1"), "ok");
        dialog->optFileServers->click();
        ASSERT_EQ(boxes_.Shown().size(), 2u) << "no login dialog, and no second offer";
        EXPECT_EQ(boxes_.Shown()[0].text, LoadString(30002));
        EXPECT_EQ(boxes_.Shown()[1].text, LoadString(30013));
        EXPECT_EQ(dialog->grdItems->item(0, 1)->text(), "< Error in obtaining queues >");
        dialog->cmdCancel->click();
    });
    page_->cmdAdd->click();
}

// One refusal of the network or the card: the action that meets it, the message it shows, and what
// card and directory hold afterwards.
struct Refusal {
    const char* name;
    const char* fault;  // a control line of the simulator
    enum Action { kAdd, kRemove, kModify } action;
    int message;            // string id of the text shown
    bool errorDialog;       // shown through the NetWare error dialog
    bool servedAfter;       // the queue is serviced (on the card and in the directory) afterwards
    bool ordinary = false;  // made by the ordinary user CLERK, logged in to FS1 after the set-up
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

const Refusal kRefusals[] = {
    {"AddQueueUnread", "netware fault queue-exists 1 -1", Refusal::kAdd, 30020, false, false},
    {"AddPrintServerNotCreated", "netware fault create-ps 1 -1", Refusal::kAdd, 30010, false, false},
    {"AddPrinterNotConfigured", "netware fault add-value 1 -1", Refusal::kAdd, 15029, true, false},
    {"AddEntryRefused", "netware fault add-value 2 -1", Refusal::kAdd, 30011, false, false},
    {"AddRefusedByTheCard", "fault Nw ip error 5", Refusal::kAdd, 25011, true, false},
    {"RemoveEntryRefused", "netware fault remove-value 1 -1", Refusal::kRemove, 30014, false, true},
    {"RemoveRefusedByTheCard", "fault Nw ip error 5", Refusal::kRemove, 25011, true, true},
    {"ModifyPrintServerNotCreated", "netware fault create-ps 1 -1", Refusal::kModify, 30028, false, true},
    // The card finds the row and then refuses to change it, after the directory moved the queue.
    {"ModifyRefusedByTheCard", "fault Nw ip set-error 5", Refusal::kModify, 25011, true, true},
    // The network refuses a user without the right: the card's print server is there, its printer
    // cannot be made.
    {"AddByAnOrdinaryUser", "netware print-server FS1 KDR0000B1", Refusal::kAdd, 15029, true, false, true},
    {"RemoveByAnOrdinaryUser", "netware fault clear", Refusal::kRemove, 30014, false, true, true},
    {"ModifyByAnOrdinaryUser", "netware fault clear", Refusal::kModify, 30028, false, true, true},
};

class NetWareRefusalTest : public NetWarePageTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(NetWareRefusalTest, ShowsItsMessageAndLeavesCardAndDirectoryAgreeing) {
    const Refusal& refusal = GetParam();
    LogIn();
    // Removed and changed: Q1 printed by the card as a remote printer of PS1.
    if (refusal.action != Refusal::kAdd) {
        char server[] = "FS1", queue[] = "Q1", printServer[] = "PS1", printer[] = "KDR0000B1_rp";
        ASSERT_EQ(tessik::NwBiAddSerList(kAdapter, server, queue, 2, printServer, printer), kNwOk);
    }
    if (refusal.ordinary) {
        char server[] = "FS1", user[] = "CLERK", password[] = "pw";
        ASSERT_EQ(tessik::NwBiLogin(server, user, password), kNwOk);
    }
    OpenPage();
    ASSERT_EQ(cards_.Command(refusal.fault).rfind("ok", 0), 0u) << refusal.fault;
    QString errorText;
    if (refusal.errorDialog) {
        AnswerErrorDialog(errorText);
    }
    switch (refusal.action) {
        case Refusal::kAdd:
            AddBinderyQueue();
            break;
        case Refusal::kRemove:
            SelectRow(0);
            page_->cmdRemove->click();
            break;
        case Refusal::kModify:
            SelectRow(0);
            page_->cmdModify->click();
            break;
    }
    ASSERT_EQ(cards_.Command("fault Nw ip clear"), "ok");
    SavePicture(page_.get(), QString("frmConfiguration-Netware-") + refusal.name);
    const std::vector<MessageShown>& shown = boxes_.Shown();
    if (refusal.errorDialog) {
        EXPECT_EQ(errorText, LoadString(refusal.message));
    } else {
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().text.trimmed(), LoadString(refusal.message).trimmed());
    }
    const bool onCard = CardRows().find("FS1\\Q1") != std::string::npos;
    // The card's own print server services a queue added; PS1 the queue changed or removed.
    const std::string own = "KDR0000B1/KDR0000B1_ps", remote = "PS1/KDR0000B1_rp";
    const bool added = refusal.action == Refusal::kAdd;
    EXPECT_EQ(onCard, refusal.servedAfter) << CardRows();
    EXPECT_EQ(Serviced("FS1", added ? own : remote, "Q1"), refusal.servedAfter) << Show("FS1");
    EXPECT_FALSE(Serviced("FS1", added ? remote : own, "Q1")) << Show("FS1");
}

// Adding again a queue the card and the directory already service, when the card then refuses: the
// service was there before the command, so the directory keeps it along with the card's row.
TEST_F(NetWarePageTest, ACardRefusingAQueueServicedBeforeLeavesTheDirectoryAsItWas) {
    LogIn();
    char server[] = "FS1", queue[] = "Q1", printServer[] = "KDR0000B1", printer[] = "KDR0000B1_ps";
    ASSERT_EQ(tessik::NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    OpenPage();
    ASSERT_EQ(Row(0), QStringList({"Q1", "FS1", "PSERVER", "-"}));
    ASSERT_EQ(cards_.Command("fault Nw ip error 5"), "ok");
    QString errorText;
    AnswerErrorDialog(errorText);
    AddBinderyQueue();
    ASSERT_EQ(cards_.Command("fault Nw ip clear"), "ok");
    EXPECT_EQ(errorText, LoadString(25011));
    EXPECT_NE(CardRows().find("FS1\\Q1"), std::string::npos) << CardRows();
    EXPECT_TRUE(Serviced("FS1", "KDR0000B1/KDR0000B1_ps", "Q1")) << Show("FS1");
}

// The card services Q1 as a remote printer of PS1; adding it as a remote printer of PS2 puts it on a
// new printer in the directory, which the card then refuses: that service was never the card's, so
// the directory's part of it is taken back, and PS1's service stays on both sides.
TEST_F(NetWarePageTest, ACardRefusingAQueueUnderAnotherPrintServerTakesThatServiceBack) {
    ASSERT_EQ(cards_.Command("netware print-server FS1 PS2"), "ok");
    LogIn();
    char server[] = "FS1", queue[] = "Q1", printServer[] = "PS1", printer[] = "KDR0000B1_rp";
    ASSERT_EQ(tessik::NwBiAddSerList(kAdapter, server, queue, 2, printServer, printer), kNwOk);
    OpenPage();
    ASSERT_EQ(Row(0), QStringList({"Q1", "FS1", "RPRINTER", "PS1"}));
    ASSERT_EQ(cards_.Command("fault Nw ip error 5"), "ok");
    QString errorText;
    AnswerErrorDialog(errorText);
    AddBinderyQueue("PS2");
    ASSERT_EQ(cards_.Command("fault Nw ip clear"), "ok");
    EXPECT_EQ(errorText, LoadString(25011));
    EXPECT_EQ(CardRows(), "0006,FS1\\Q1,0001,2,0007,FS1\\PS1,0001,0");
    EXPECT_TRUE(Serviced("FS1", "PS1/KDR0000B1_rp", "Q1")) << Show("FS1");
    EXPECT_FALSE(Serviced("FS1", "PS2/KDR0000B1_rp", "Q1")) << Show("FS1");
}

// The card whose page first read Q1 as serviced, a remote printer of PS1: this card (from which
// another console then took the service away) or another card.
struct EarlierRead {
    const char* name;
    const char* card;
    const char* printer;
};

void PrintTo(const EarlierRead& read, std::ostream* out) {
    *out << read.name;
}

const char* const kOtherAdapter = "00C0DE0000B2";
const EarlierRead kEarlierReads[] = {
    {"OfThisCard", kAdapter, "KDR0000B1_rp"},
    {"OfAnotherCard", kOtherAdapter, "KDR0000B2_rp"},
};

class NetWareEarlierReadTest : public NetWarePageTest, public ::testing::WithParamInterface<EarlierRead> {
  protected:
    NetWareEarlierReadTest()
        : NetWarePageTest(kCardLine +
                          "card Other mac=00C0DE0000B2 ip=127.0.2.2 protocols=ip engine=office\n") {}
};

// When the page's latest read of this card's table failed, nothing is known of what the card serviced
// before, whatever an earlier read (of this card or another) listed: a refused add takes its
// directory part back, and every other card's service stays as it was.
TEST_P(NetWareEarlierReadTest, ACardRefusingAfterItsTableCouldNotBeReadTakesTheAddBack) {
    const EarlierRead& earlier = GetParam();
    const bool thisCard = std::string(earlier.card) == kAdapter;
    LogIn();
    char server[] = "FS1", queue[] = "Q1", printServer[] = "PS1", printer[16];
    std::snprintf(printer, sizeof printer, "%s", earlier.printer);
    ASSERT_EQ(tessik::NwBiAddSerList(earlier.card, server, queue, 2, printServer, printer), kNwOk);
    OpenPage(earlier.card);
    ASSERT_EQ(Row(0), QStringList({"Q1", "FS1", "RPRINTER", "PS1"}));
    if (thisCard) {
        ASSERT_EQ(tessik::NwBiRmSerList(kAdapter, server, queue, 2, printServer, printer), kNwOk);
    }
    // This card's table can no longer be walked: neither by the page's read nor by the add's look-up.
    ASSERT_EQ(cards_.Command("fault Nw ip next-error 5"), "ok");
    OpenPage();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, LoadString(25011));
    SavePicture(page_.get(), QString("frmConfiguration-Netware-Unread") + earlier.name);
    QString errorText;
    AnswerErrorDialog(errorText);
    AddBinderyQueue("PS1");
    ASSERT_EQ(cards_.Command("fault Nw ip clear"), "ok");
    EXPECT_EQ(errorText, LoadString(25011));
    EXPECT_EQ(CardRows(), "");
    EXPECT_FALSE(Serviced("FS1", "PS1/KDR0000B1_rp", "Q1")) << Show("FS1");
    EXPECT_EQ(CardRows(kOtherAdapter), thisCard ? "" : "0006,FS1\\Q1,0001,2,0007,FS1\\PS1,0001,0");
    EXPECT_EQ(Serviced("FS1", "PS1/KDR0000B2_rp", "Q1"), !thisCard) << Show("FS1");
}

INSTANTIATE_TEST_SUITE_P(Reads, NetWareEarlierReadTest, ::testing::ValuesIn(kEarlierReads),
                         [](const ::testing::TestParamInfo<EarlierRead>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Refusals, NetWareRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

}  // namespace
}  // namespace console
