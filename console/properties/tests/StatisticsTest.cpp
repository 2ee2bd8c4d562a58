// The protocol statistics dialog against simulated cards: every group of every tree opens with the
// card's counters, closes and reads again, and a failed read leaves the trees working.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

#include "console/core/DeviceAccess.h"
#include "console/core/StringTable.h"
#include "console/properties/DeviceRequests.h"
#include "console/properties/frmStatistics.h"
#include "console/properties/tests/CardsFixture.h"

namespace consoletest {
namespace {

using console::StatisticsTree;

using StatisticsTest = CardsFixture;

QString Value(const QTreeWidgetItem* row) {
    return row->text(0).section(" --:", 1);
}

TEST_F(StatisticsTest, EveryGroupShowsTheCardsCountersAndReadsAgainWhenReopened) {
    Select(kOffice);
    console::frmStatistics dialog;
    dialog.Form_Load();
    for (const console::StatisticsGroup& group : console::StatisticsGroups()) {
        QTreeWidget* tree = dialog.Tree(group.tree);
        const QList<QTreeWidgetItem*> found =
            tree->findItems(console::LoadString(group.label), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTreeWidgetItem* item = found[0];
        dialog.ClickItem(group.tree, item);
        ASSERT_TRUE(item->isExpanded()) << group.label;
        int expected = 0;
        for (const console::StatisticsRead& read : group.reads) {
            expected += read.lastRow - read.firstRow + 1;
        }
        ASSERT_EQ(item->childCount(), expected) << group.label;
        int child = 0;
        for (const console::StatisticsRead& read : group.reads) {
            for (int row = read.firstRow; row <= read.lastRow; ++row, ++child) {
                const QString text = item->child(child)->text(0);
                EXPECT_TRUE(text.startsWith(console::LoadString(row) + " --:")) << text.toStdString();
                EXPECT_FALSE(Value(item->child(child)).isEmpty()) << text.toStdString();
            }
        }
    }
    QTreeWidget* tcp = dialog.Tree(console::kTcpTree);
    QTreeWidgetItem* interfaces = tcp->topLevelItem(0);
    EXPECT_EQ(interfaces->child(0)->text(0), "Physical address --:00C0DE100001");
    QTreeWidget* ipx = dialog.Tree(console::kIpxTree);
    EXPECT_EQ(Value(ipx->topLevelItem(0)->child(0)), "00FACADE") << "hexadecimal addresses whole";
    EXPECT_EQ(Value(ipx->topLevelItem(0)->child(1)), "00C0DE100001");

    // Closing drops the rows; opening again reads the card's counters anew.
    QTreeWidget* snmp = dialog.Tree(console::kSnmpTree);
    QTreeWidgetItem* items = snmp->topLevelItem(0);
    const QString responsesBefore = Value(items->child(15));
    dialog.ClickItem(console::kSnmpTree, items);
    EXPECT_FALSE(items->isExpanded());
    EXPECT_EQ(items->childCount(), 0);
    dialog.ClickItem(console::kSnmpTree, items);
    ASSERT_EQ(items->childCount(), 17);
    EXPECT_GT(Value(items->child(15)).toInt(), responsesBefore.toInt()) << "Get-Response generated";
    // A click on a value row changes nothing.
    dialog.ClickItem(console::kSnmpTree, items->child(0));
    EXPECT_EQ(items->childCount(), 17);
    EXPECT_TRUE(boxes.Shown().empty());

    for (int tab = 0; tab < console::kTreeCount; ++tab) {
        dialog.Tabs()->setCurrentIndex(tab);
        SavePicture(&dialog, QString("frmStatistics-%1").arg(tab));
    }
}

TEST_F(StatisticsTest, TabsFollowTheProtocolsTheCardRuns) {
    PutCardValue(kCompact, E + ".12.3.1.0", sim::MibValue::Integer(4));
    Select(kCompact);
    console::frmStatistics dialog;
    dialog.Form_Load();
    EXPECT_TRUE(dialog.Tabs()->isTabEnabled(console::kTcpTree));
    EXPECT_FALSE(dialog.Tabs()->isTabEnabled(console::kIpxTree)) << "the card runs IP only";
    EXPECT_FALSE(dialog.Tabs()->isTabEnabled(console::kAppleTree)) << "AppleTalk is off";
    EXPECT_TRUE(dialog.Tabs()->isTabEnabled(console::kSnmpTree));
    EXPECT_TRUE(dialog.Tabs()->isTabEnabled(console::kDlcTree));
}

TEST_F(StatisticsTest, AFailedReadLeavesTheGroupClosedAndTheTreesWorking) {
    Select(kCustomPaper);
    console::frmStatistics dialog;
    dialog.Form_Load();
    cards.SetFaults(kCustomPaper, sim::Protocol::Ip, {.errorStatus = 5});
    QTreeWidget* dlc = dialog.Tree(console::kDlcTree);
    QTreeWidgetItem* items = dlc->topLevelItem(0);
    dialog.ClickItem(console::kDlcTree, items);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(items->childCount(), 0);
    EXPECT_FALSE(items->isExpanded());

    cards.SetFaults(kCustomPaper, sim::Protocol::Ip, {});
    // Enter on the selected group acts as a click.
    dlc->setCurrentItem(items);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dlc, &enter);
    EXPECT_EQ(items->childCount(), 11);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(StatisticsTest, AnswersLongerThanTheBufferAreAskedAgainWithRoomEnough) {
    const QString adapter = kCards[kOffice].mac;
    QString reply;
    ASSERT_EQ(console::GetObjectGroup(adapter, 17, reply, 10), 0);
    EXPECT_EQ(console::ParseReply(reply).size(), 17u);
    ASSERT_EQ(console::GetObjectListAscii(adapter, {"1.3.6.1.2.1.1.1.0"}, reply, 20), 0);
    EXPECT_TRUE(reply.startsWith("2,")) << reply.toStdString();
    EXPECT_GT(reply.size(), 60);
}

TEST_F(StatisticsTest, HintsFollowThePointer) {
    Select(kOffice);
    console::frmStatistics dialog;
    dialog.Form_Load();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(dialog.Tabs(), &enter);
    EXPECT_EQ(dialog.Tips()->text(), console::LoadString(15110));
}

}  // namespace
}  // namespace consoletest
