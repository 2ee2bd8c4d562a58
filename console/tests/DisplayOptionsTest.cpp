// The display options text: what shut-down builds always reads back unchanged at the next start.
#include <gtest/gtest.h>

#include "console/core/DisplayOptions.h"

namespace console {
namespace {

DisplayOptions AllColumns() {
    DisplayOptions options;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        options.columns[i] = {true, 900 + static_cast<int>(i) * 10};
    }
    return options;
}

struct RoundTrip {
    const char* name;
    DisplayOptions options;
};

std::vector<RoundTrip> RoundTrips() {
    std::vector<RoundTrip> cases;
    cases.push_back({"defaults", DisplayOptions()});
    DisplayOptions all = AllColumns();
    all.notifyFlags = QString(40, '1');
    all.alertLogOn = true;
    all.treeVisible = false;
    all.toolBarVisible = false;
    all.autoRefresh = 1;
    all.refreshSeconds = 300;
    all.jobQueueWidths = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    cases.push_back({"eight columns and every flag", all});
    DisplayOptions texts;
    texts.filterText = "a,b \"quoted\", c";
    texts.alertLogFile = "/var/log/alerts, \"today\".log";
    cases.push_back({"commas and quotes in the texts", texts});
    DisplayOptions blanks;
    blanks.filterText = "  spaced  ";
    blanks.alertLogFile = "";
    cases.push_back({"blanks kept inside quotes, an empty file name", blanks});
    DisplayOptions big;
    big.top = -40000;  // a screen above the first one
    big.left = 70000;
    big.height = 50000;
    big.width = 123456;
    big.columns[kStatusColumn] = {true, 40000};
    cases.push_back({"geometry past 16 bits and negative", big});
    for (int column = 1; column <= static_cast<int>(kColumnCount); ++column) {
        for (bool descending : {false, true}) {
            DisplayOptions sorted;
            sorted.sortColumn = column;
            sorted.sortDescending = descending;
            cases.push_back({"sort", sorted});
        }
    }
    DisplayOptions none;
    none.sortColumn = 0;
    none.columns = {};
    cases.push_back({"no sort and no visible column", none});
    return cases;
}

TEST(DisplayOptionsTest, WhatIsBuiltReadsBackUnchanged) {
    for (const RoundTrip& trip : RoundTrips()) {
        const QString text = BuildDisplayOptions(trip.options);
        SCOPED_TRACE(std::string(trip.name) + ": " + text.toStdString());
        EXPECT_TRUE(text.endsWith(','));
        const std::optional<DisplayOptions> back = ParseDisplayOptions(text);
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(*back == trip.options);
        EXPECT_EQ(BuildDisplayOptions(*back), text);
    }
}

TEST(DisplayOptionsTest, AShortTextReadsWithDefaultsForItsMissingFields) {
    const std::optional<DisplayOptions> options =
        ParseDisplayOptions("1605,1035,7695,10650,65,15,255,1,0,3,2,*4*,log.dat,1000,1000,1000");
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->top, 1605);
    EXPECT_EQ(options->left, 1035);
    EXPECT_EQ(options->height, 6090);
    EXPECT_EQ(options->width, 9615);
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        EXPECT_EQ(options->columns[i].visible, i == kNameColumn || i == kPortColumn) << i;
    }
    EXPECT_EQ(options->filterText, "*4*");
    EXPECT_EQ(options->alertLogFile, "log.dat");
    EXPECT_EQ(options->autoRefresh, 1000);
    EXPECT_EQ(options->refreshSeconds, DisplayOptions().refreshSeconds);
    EXPECT_EQ(options->jobQueueWidths, DisplayOptions().jobQueueWidths);
    EXPECT_TRUE(options->toolBarVisible);
    EXPECT_TRUE(options->statusBarVisible);
    EXPECT_TRUE(options->treeVisible);
    EXPECT_FALSE(options->alertLogOn);

    const std::optional<DisplayOptions> four = ParseDisplayOptions("1605,1035,7695,10650");
    ASSERT_TRUE(four.has_value());
    EXPECT_EQ(four->notifyFlags, "255");
    EXPECT_EQ(four->viewMode, 2);

    const std::optional<DisplayOptions> first = ParseDisplayOptions(kDefaultDisplayOptions);
    ASSERT_TRUE(first.has_value());
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        EXPECT_EQ(first->columns[i].visible, i <= kMacColumn) << i;
    }
    EXPECT_EQ(first->autoRefresh, 0);
}

TEST(DisplayOptionsTest, OlderTextsReadAsTheyWere) {
    const std::optional<DisplayOptions> options =
        ParseDisplayOptions("15,30,315,630,5,15,0101,2.5,1,31,0,  HP*  ,my log.txt,500,600,1,30,");
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->sortColumn, 2) << "halves go to even";
    EXPECT_EQ(options->filterText, "HP*") << "a plain filter text is trimmed";
    EXPECT_EQ(options->alertLogFile, "my log.txt");
    EXPECT_TRUE(options->columns[kNameColumn].visible);
    EXPECT_EQ(options->columns[kNameColumn].width, 500);
    EXPECT_EQ(options->columns[kStatusColumn].width, 600);
    EXPECT_EQ(options->autoRefresh, 1);
    EXPECT_EQ(options->refreshSeconds, 30);
    EXPECT_TRUE(options->toolBarVisible);
    EXPECT_TRUE(options->statusBarVisible);
    EXPECT_FALSE(options->treeVisible);
    EXPECT_TRUE(options->alertLogOn);  // 31 = 16 + 8 + 4 + 2 + 1: bit 16 changes nothing
}

// Older texts doubled the column of a descending order: any value above 7 is one.
TEST(DisplayOptionsTest, AnOlderSortAboveSevenReadsAsDescending) {
    const struct {
        const char* sort;
        int column;
        bool descending;
    } cases[] = {
        {"16", 8, true}, {"12", 6, true}, {"8", 4, true},  {"9", 4, true},   {"15", 8, true},
        {"7", 7, false}, {"2", 2, false}, {"-3", 3, true}, {"+8", 8, false}, {"0", 0, false},
    };
    for (const auto& c : cases) {
        const std::optional<DisplayOptions> options =
            ParseDisplayOptions(QString("1605,1035,7695,10650,65,15,255,%1,0,3,2,*4*,log.dat").arg(c.sort));
        ASSERT_TRUE(options.has_value()) << c.sort;
        EXPECT_EQ(options->sortColumn, c.column) << c.sort;
        EXPECT_EQ(options->sortDescending, c.descending) << c.sort;
    }
}

TEST(DisplayOptionsTest, ATextThatCannotBeReadIsRefused) {
    for (const char* text : {"top,1035,7695,10650", "1605,1035,7695,10650,65,15,\"255", "99999999999,0,0,0",
                             "1,2,3,4,5,6,\"x\"y,1", "100,0,50,10"}) {
        EXPECT_FALSE(ParseDisplayOptions(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace console
