#include <gtest/gtest.h>

#include "confighelper/TrapNotice.h"
#include "confighelper/tests/AnswerBuilder.h"

namespace {

TEST(TrapNotice, StatusTrapsMakeALine) {
    struct Case {
        std::uint8_t generic;
        std::uint16_t specific;
        std::int32_t value;
        int protocol;
        const char* sender;
        const char* line;
    };
    const Case cases[] = {
        {6, 18, 3, 2, "192.168.1.20", "2,192.168.1.20,3"},
        {6, 19, -1, 4, "001122AABBCC", "4,001122AABBCC,-1"},
        {6, 18, 1025, 1, "00000001001122AABBCC", "1,00000001001122AABBCC,1025"},
        {6, 17, 3, 2, "10.0.0.1", nullptr},
        {2, 18, 3, 2, "10.0.0.1", nullptr},
    };
    for (const Case& c : cases) {
        AnswerBuilder trap;
        trap.Integer(c.value);
        const auto line = FormatTrapNotice(trap.Trap(c.generic, c.specific), c.protocol, c.sender);
        if (c.line == nullptr) {
            EXPECT_FALSE(line) << c.specific;
        } else {
            ASSERT_TRUE(line);
            EXPECT_EQ(*line, c.line);
        }
    }
}

TEST(TrapNotice, FirstValueMustBeAnInteger) {
    AnswerBuilder none;
    EXPECT_FALSE(FormatTrapNotice(none.Trap(6, 18), 2, "10.0.0.1"));
    AnswerBuilder text;
    text.Text("3");
    EXPECT_FALSE(FormatTrapNotice(text.Trap(6, 18), 2, "10.0.0.1"));
    AnswerBuilder shortInteger;
    shortInteger.Add(kSnmpInteger, {3});
    EXPECT_FALSE(FormatTrapNotice(shortInteger.Trap(6, 18), 2, "10.0.0.1"));
}

}  // namespace
