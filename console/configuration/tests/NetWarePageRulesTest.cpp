// The NetWare page's rules that need no card: the card's service list read into rows, the names of
// the card's own NetWare objects, dotted directory names, and the check delays' steps.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "console/configuration/CheckDelayBox.h"
#include "console/core/ConsoleState.h"
#include "console/netware/ServicedQueues.h"

namespace console {
namespace {

TEST(ServicedQueuesTest, TheCardsListReadsAsRowsOfFourRecords) {
    const std::vector<ServicedQueue> rows = ReadServicedQueues(
        "0006,FS1\\Q1,0001,1,0007,FS1\\PS1,0001,1,"
        "0015,ACME\\Q2.ENG.ORG,0001,4,0016,ACME\\PS1.ENG.ORG,0001,2,"
        "0007,FS2\\Q3,0001,0,0003,FS2,0001,3");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].queueHost, "FS1");
    EXPECT_EQ(rows[0].queue, "Q1");
    EXPECT_EQ(rows[0].mode, 1);
    EXPECT_EQ(rows[0].printServerHost, "FS1");
    EXPECT_EQ(rows[0].printServer, "PS1");
    EXPECT_EQ(rows[0].status, 1);
    EXPECT_EQ(rows[1].queue, "Q2.ENG.ORG");
    EXPECT_EQ(rows[1].printServer, "PS1.ENG.ORG");
    EXPECT_EQ(rows[1].status, 2);
    EXPECT_EQ(rows[2].printServerHost, "FS2") << "a path without \\ is all host";
    EXPECT_EQ(rows[2].printServer, "");
    EXPECT_EQ(ModeText(rows[0].mode), "PSERVER");
    EXPECT_EQ(ModeText(rows[1].mode), "RPRINTER");
    EXPECT_EQ(ModeText(rows[2].mode), "UNKNOWN");
}

TEST(ServicedQueuesTest, AListCutShortKeepsOnlyItsWholeRows) {
    EXPECT_TRUE(ReadServicedQueues("").empty());
    EXPECT_EQ(ReadServicedQueues("0006,FS1\\Q1,0001,1,0007,FS1\\PS1,0001,1,0006,FS1\\Q2,0001").size(), 1u);
    EXPECT_TRUE(ReadServicedQueues("0099,FS1\\Q1,0001,1").empty()) << "a length past the end";
}

TEST(ServicedQueuesTest, TheCardsObjectsAreNamedFromItsAdapterName) {
    State().makerAbbreviation = "KDR";
    EXPECT_EQ(DefaultPrintServerNameOf("0012AB34CD56"), "KDR34CD56");
    NetWare().defaultPrintServerName = DefaultPrintServerNameOf("0012AB34CD56");
    EXPECT_EQ(CardPrinterName(kBinderyPrintServer), "KDR34CD56_ps");
    EXPECT_EQ(CardPrinterName(kDirectoryPrintServer), "KDR34CD56_ps");
    EXPECT_EQ(CardPrinterName(kBinderyRemotePrinter), "KDR34CD56_rp");
    EXPECT_EQ(CardPrinterName(kDirectoryRemotePrinter), "KDR34CD56_rp");
}

TEST(ServicedQueuesTest, DottedNamesSplitAtTheirFirstDot) {
    EXPECT_EQ(SplitDottedName("Q1.ENG.ORG").name, "Q1");
    EXPECT_EQ(SplitDottedName("Q1.ENG.ORG").context, "ENG.ORG");
    EXPECT_EQ(SplitDottedName("TOPQ").name, "TOPQ");
    EXPECT_EQ(SplitDottedName("TOPQ").context, "[Root]");
    EXPECT_EQ(ContextOf("PS1.ENG.ORG"), "ENG.ORG");
    EXPECT_EQ(ContextOf("PS1"), "") << "no context, never the root";
    EXPECT_TRUE(SameNetWareName("q1.eng.org", "Q1.ENG.ORG"));
}

// Up and Down in the box step by 5 within the page's bounds and never to a value the card refuses.
TEST(CheckDelayBoxTest, StepsStayWithinThePagesBoundsAndTheCardsRange) {
    struct Case {
        int floor, ceiling, start;
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {
        {0, 60, 58, Qt::Key_Up, 58},     {0, 60, 60, Qt::Key_Up, 60},     {0, 60, 55, Qt::Key_Up, 60},
        {0, 60, 3, Qt::Key_Down, 3},     {0, 60, 5, Qt::Key_Down, 5},     {0, 60, 10, Qt::Key_Down, 5},
        {10, 300, 12, Qt::Key_Down, 12}, {10, 300, 15, Qt::Key_Down, 10}, {10, 300, 300, Qt::Key_Up, 300},
        {10, 300, 5, Qt::Key_Up, 10},
    };
    for (const Case& c : cases) {
        CheckDelayBox box(c.floor, c.ceiling);
        box.setValue(c.start);
        QTest::keyClick(&box, c.key);
        EXPECT_EQ(box.value(), c.expected) << c.start << (c.key == Qt::Key_Up ? " up" : " down");
    }
}

TEST(CheckDelayBoxTest, ATypedValueIsHeldToTheCardsRange) {
    CheckDelayBox box(0, 60);
    box.setValue(0);
    EXPECT_EQ(box.value(), CheckDelayBox::kCardLeast) << "the card refuses 0";
    box.setValue(90);
    EXPECT_EQ(box.value(), 90) << "typed values pass the page's step bounds";
    box.setValue(5000);
    EXPECT_EQ(box.value(), CheckDelayBox::kCardMost);
}

// Of the values beyond what may be typed, the box takes the card's own value and no other.
TEST(CheckDelayBoxTest, TheCardsOwnValueIsShownAsItIs) {
    CheckDelayBox box(10, 300);
    box.ShowCardValue(5000);
    EXPECT_EQ(box.value(), 5000);
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, "4000");
    QTest::keyClick(&box, Qt::Key_Tab);
    EXPECT_EQ(box.value(), 400) << "4000 is refused, the box keeps what it last could take";
    box.ShowCardValue(30);
    box.setValue(5000);
    EXPECT_EQ(box.value(), CheckDelayBox::kCardMost) << "a card's value in range sets the range back";
}

}  // namespace
}  // namespace console
