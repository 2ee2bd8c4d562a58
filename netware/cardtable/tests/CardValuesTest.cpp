#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "netware/cardtable/CardExchange.h"

namespace {

std::vector<CardValue> Read(std::string text, int count, bool& read) {
    std::vector<CardValue> values;
    read = ReadCardValues(text.data(), text.size(), count, values);
    return values;
}

// An answer's values as the SNMP library writes them; a walk past the end of the service table
// meets the card's next objects, which may be of any type.
TEST(CardValues, ValuesOfEveryTypeAreTaken) {
    bool read = false;
    const std::vector<CardValue> values = Read("1,-7,2,3,a,b,3,10.0.0.1,8,1.3.6.1,7,100,5,9", 6, read);
    ASSERT_TRUE(read);
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0].type, kCardInteger);
    EXPECT_EQ(values[0].text, "-7");
    EXPECT_EQ(values[1].type, kCardOctetString);
    EXPECT_EQ(values[1].text, "a,b");
    for (std::size_t i = 2; i < values.size(); ++i) {
        EXPECT_EQ(values[i].type, kCardOtherType) << i;
        EXPECT_EQ(values[i].text, "") << i;
    }
}

TEST(CardValues, TextsWithoutTheValuesAskedForAreRefused) {
    for (const auto& [text, count] : {std::pair{"1,5", 2}, std::pair{"2,9,abc", 1}, std::pair{"", 1}}) {
        bool read = true;
        Read(text, count, read);
        EXPECT_FALSE(read) << text;
    }
}

}  // namespace
