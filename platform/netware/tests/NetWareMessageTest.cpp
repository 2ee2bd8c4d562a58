#include "platform/netware/NetWareMessage.h"

#include <gtest/gtest.h>

#include "platform/lan/LanFrame.h"

namespace plat {
namespace {

TEST(NetWareMessageTest, RequestsAndRepliesComeBackAsTheyWent) {
    NetWareMessage reply{true, 0xDEADBEEF, 42, -601, {"", "name", std::string("\0x", 2)}};
    std::optional<NetWareMessage> back = DecodeNetWareMessage(EncodeNetWareMessage(reply));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->reply);
    EXPECT_EQ(back->session, 0xDEADBEEFu);
    EXPECT_EQ(back->id, 42u);
    EXPECT_EQ(back->code, -601);
    EXPECT_EQ(back->fields, reply.fields);
}

TEST(NetWareMessageTest, WhatDoesNotAddUpIsRefused) {
    const std::vector<std::uint8_t> good = EncodeNetWareMessage({false, 1, 2, 0, {"attach", "FS1"}});
    ASSERT_FALSE(good.empty());
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_FALSE(DecodeNetWareMessage(std::span(good.data(), cut))) << "cut at " << cut;
    }
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(DecodeNetWareMessage(longer)) << "bytes after the last field";
    std::vector<std::uint8_t> badMark = good;
    badMark[0] = 'X';
    EXPECT_FALSE(DecodeNetWareMessage(badMark));
    std::vector<std::uint8_t> tooMany = good;
    tooMany[13] = kNetWareMaxFields + 1;
    EXPECT_FALSE(DecodeNetWareMessage(tooMany));
}

TEST(NetWareMessageTest, AMessageLargerThanADatagramIsNotEncoded) {
    EXPECT_TRUE(EncodeNetWareMessage({false, 1, 1, 0, {std::string(kIpxMaxData, 'a')}}).empty());
    EXPECT_TRUE(
        EncodeNetWareMessage({false, 1, 1, 0, std::vector<std::string>(kNetWareMaxFields + 1)}).empty());
}

}  // namespace
}  // namespace plat
