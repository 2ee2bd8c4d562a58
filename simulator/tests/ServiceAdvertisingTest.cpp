#include "simulator/ServiceAdvertising.h"
#include "simulator/tests/CardFixture.h"

namespace sim::test {
namespace {

TEST_F(CardFixture, ServiceQueriesForPrintServersAreAnsweredWithOneEntry) {
    std::optional<std::vector<uint8_t>> general =
        AnswerServiceQuery(*card, std::vector<uint8_t>{0, 1, 0x09, 0x22});
    ASSERT_TRUE(general);
    ASSERT_EQ(general->size(), 2u + 64u);
    const std::vector<uint8_t>& reply = *general;
    EXPECT_EQ(reply[1], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[4])), "PS-Lobby");
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 52, reply.begin() + 56),
              (std::vector<uint8_t>{0, 0xFA, 0xCA, 0xDE}));
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 56, reply.begin() + 62),
              (std::vector<uint8_t>{0x00, 0xC0, 0xDE, 0x12, 0x34, 0x56}));
    EXPECT_EQ(reply[62] << 8 | reply[63], SnmpIpxSocket);

    EXPECT_EQ(AnswerServiceQuery(*card, std::vector<uint8_t>{0, 3, 0xFF, 0xFF}).value().at(1), 4)
        << "nearest";
    for (const std::vector<uint8_t>& other :
         {std::vector<uint8_t>{0, 1, 0, 4}, std::vector<uint8_t>{0, 2, 9, 0x22},
          std::vector<uint8_t>{0, 1, 9}}) {
        EXPECT_FALSE(AnswerServiceQuery(*card, other));
    }
}

}  // namespace
}  // namespace sim::test
