// Helpers of the dialogs: list look-ups and the NameList reader.
#include <gtest/gtest.h>

#include <QListWidget>

#include "console/core/FormHelpers.h"

namespace console {
namespace {

TEST(FormHelpersTest, NameListsYieldEachNameAndDoneWithTheLast) {
    NameListReader reader;
    bool done = true;
    EXPECT_EQ(reader.Next("0004,Lab1,0002,a,", done), "Lab1");
    EXPECT_FALSE(done);
    EXPECT_EQ(reader.Next("", done), "a,");
    EXPECT_TRUE(done);
    EXPECT_EQ(reader.Next("", done), "");
    EXPECT_TRUE(done);
    // An NDS browse record carries its kind as further tokens.
    EXPECT_EQ(reader.Next("0003,Ops,0001,1,0001,C", done), "Ops");
    EXPECT_EQ(reader.Next("", done), "1");
    EXPECT_EQ(reader.Next("", done), "C");
    EXPECT_TRUE(done);
    for (const char* broken : {"00x4,Lab1", "0040,short", "-001,a"}) {
        EXPECT_EQ(reader.Next(broken, done), "") << broken;
        EXPECT_TRUE(done);
    }
}

TEST(FormHelpersTest, ListEntriesAreFoundTrimmedAndWithoutRegardToCase) {
    QListWidget list;
    list.addItems({" Main Office ", "Sales"});
    EXPECT_TRUE(FindListItem(&list, "main office"));
    EXPECT_TRUE(FindListItem(&list, "  SALES"));
    EXPECT_FALSE(FindListItem(&list, "Sale"));
    EXPECT_EQ(SplitList("a,,b"), (std::vector<QString>{"a", "", "b"}));
}

}  // namespace
}  // namespace console
