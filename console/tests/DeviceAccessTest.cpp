// The parsers of the print server's value texts and the range check of the numeric boxes.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "console/core/DeviceAccess.h"
#include "console/tests/MessageRecorder.h"

namespace console {
namespace {

struct ReplyCase {
    const char* reply;
    bool keepBlanks;
    std::vector<QString> values;
};

TEST(DeviceAccessTest, ParseReplyTakesOctetStringsByTheirByteCount) {
    const ReplyCase cases[] = {
        {"1,5", false, {"5"}},
        {"2,3,a,b", false, {"a,b"}},
        {"1,7,2,4,ab,c,1,9", false, {"7", "ab,c", "9"}},
        {"2,6,pass  ", true, {"pass  "}},
        {"2,6,pass  ", false, {"pass"}},
        {"2,0,,1,3", false, {"", "3"}},
        {"6,1.3.6.1,4,", false, {"1.3.6.1", ""}},
        {"2,40,short", false, {"short"}},
    };
    for (const ReplyCase& c : cases) {
        EXPECT_EQ(ParseReply(c.reply, c.keepBlanks), c.values) << c.reply;
    }
}

TEST(DeviceAccessTest, ParseReplyListAndPairsSplitAtTheirMarks) {
    EXPECT_EQ(ParseReplyList("1,5,2,3,abc,1,0"), (std::vector<QString>{"5", "abc", "0"}));
    EXPECT_EQ(ParseReplyPairs("192.168.0.1"), (std::vector<QString>{"192", "168", "0", "1"}));
}

TEST(DeviceAccessTest, ValidateRangeAcceptsWholeNumbersWithinTheRangeOnly) {
    consoletest::MessageRecorder boxes;
    QLineEdit box;
    EXPECT_TRUE(ValidateRange(&box, 0, 255));
    EXPECT_EQ(box.text(), "0");
    for (const char* text : {"256", "-1", "abc", "12x", "1.5"}) {
        box.setText(text);
        EXPECT_FALSE(ValidateRange(&box, 0, 255)) << text;
    }
    ASSERT_EQ(boxes.Shown().size(), 5u);
    EXPECT_EQ(boxes.Shown()[0].text, "Value out of range: Range is   0 -  255");
    box.setText("-5");
    EXPECT_TRUE(ValidateRange(&box, -10, 10));
    box.setText("11");
    EXPECT_FALSE(ValidateRange(&box, -10, 10));
    EXPECT_EQ(boxes.Shown().back().text, "Value out of range: Range is  -10 -  10");
    EXPECT_EQ(TextByteWidth("abc"), 3);
}

}  // namespace
}  // namespace console
