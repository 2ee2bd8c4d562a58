#include <gtest/gtest.h>

#include "simulator/DescriptionFile.h"

namespace sim {
namespace {

NetworkDescription Parse(std::string_view text) {
    std::string error;
    std::optional<NetworkDescription> network = ParseDescription(text, error);
    EXPECT_TRUE(network.has_value()) << error;
    return network.value_or(NetworkDescription{});
}

TEST(DescriptionFile, CardLineSetsEveryKey) {
    NetworkDescription network = Parse(
        "# the lobby printer\n"
        "\n"
        "option snmp-port=1161\n"
        "card PS-Lobby mac=00c0de0a0b0c ip=127.0.5.1 ipx-network=0000CAFE category=1 engine=7171 "
        "protocols=ip,dlc "
        "location=\"Ground floor, lobby\" status=68 zones=\"Main Office|Sales\" appletalk=off model=X1 "
        "version=\"V9.00 01/01/2001\" password=secret\n");
    EXPECT_EQ(network.options.snmpPort, 1161);
    ASSERT_EQ(network.cards.size(), 1u);
    const CardDescription& card = network.cards[0];
    EXPECT_EQ(card.name, "PS-Lobby");
    EXPECT_EQ(card.mac, (Mac{0x00, 0xC0, 0xDE, 0x0A, 0x0B, 0x0C}));
    EXPECT_EQ(card.ip, (Ipv4{127, 0, 5, 1}));
    EXPECT_EQ(card.ipxNetwork, (std::array<uint8_t, 4>{0x00, 0x00, 0xCA, 0xFE}));
    EXPECT_EQ(card.category, 1);
    EXPECT_EQ(card.engine, EngineType::Model7171);
    EXPECT_EQ(card.protocols, Bit(Protocol::Ip) | Bit(Protocol::Dlc));
    EXPECT_EQ(card.location, "Ground floor, lobby");
    EXPECT_EQ(card.status, 68);
    EXPECT_EQ(card.zones, (std::vector<std::string>{"Main Office", "Sales"}));
    EXPECT_FALSE(card.appleTalk);
    EXPECT_EQ(card.model, "X1");
    EXPECT_EQ(card.version, "V9.00 01/01/2001");
    EXPECT_EQ(card.password, "secret");
}

TEST(DescriptionFile, CardsLineCountsAddressesUpAndMixesEngines) {
    NetworkDescription network =
        Parse("card First\ncards 3 Floor mac=00C0DE0000FE ip=127.0.2.254 engine=mixed\ncard Last\n");
    ASSERT_EQ(network.cards.size(), 5u);
    EXPECT_EQ(network.cards[1].name, "Floor-1");
    EXPECT_EQ(network.cards[3].name, "Floor-3");
    EXPECT_EQ(network.cards[3].mac, (Mac{0x00, 0xC0, 0xDE, 0x00, 0x01, 0x00}));
    EXPECT_EQ(network.cards[3].ip, (Ipv4{127, 0, 3, 0}));
    EXPECT_EQ(network.cards[2].engine, EngineType::Compact);
    EXPECT_NE(network.cards[0].mac, network.cards[4].mac) << "defaults differ from card to card";
    EXPECT_NE(network.cards[0].ip, network.cards[4].ip);
}

TEST(DescriptionFile, NetWareLinesAreKeptInOrderWithTheirNumbers) {
    NetworkDescription network =
        Parse("netware server FS1\ncard A\n\nnetware user FS1 ADMIN \"two words\"\n");
    ASSERT_EQ(network.netware.size(), 2u);
    EXPECT_EQ(network.netware[0].number, 1u);
    EXPECT_EQ(network.netware[1].number, 4u);
    EXPECT_EQ(network.netware[1].words,
              (std::vector<std::string>{"netware", "user", "FS1", "ADMIN", "two words"}));
    EXPECT_EQ(network.cards.size(), 1u);
}

TEST(DescriptionFile, RefusalsNameTheLine) {
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"card A colour=red", "line 1: unknown key"},
        {"card A mac=00C0DE00000", "line 1: bad mac"},
        {"card A ip=127.0.0.256", "line 1: bad ip"},
        {"card A category=4", "line 1: bad category"},
        {"card A engine=laser", "line 1: bad engine"},
        {"card A protocols=ip,appletalk", "line 1: bad protocols"},
        {"card A location=\"open", "line 1: unclosed quote"},
        {"card A zones=\"A||B\"", "line 1: empty zone name"},
        {"card A\nprinter B", "line 2: unknown line"},
        {"card", "line 1: card needs a name"},
        {"cards 0 P", "line 1: bad count"},
        {"option speed=9", "line 1: unknown option"},
        {"card A\nnetware", "line 2: netware needs a command"},
        {"card A mac=000000000001\ncard B mac=000000000001",
         "two cards with the hardware address 000000000001"},
        {"card A ip=127.0.0.9\ncard B ip=127.0.0.9", "two cards with the address 127.0.0.9"},
        {"card A\ncard A", "two cards named A"},
        {"cards 6000 A\ncards 5000 B", "line 2: more than 10000 cards"},
        {"cards 10000 A\ncard B", "line 2: more than 10000 cards"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseDescription(c.text, error).has_value()) << c.text;
        EXPECT_EQ(error.rfind(c.reason, 0), 0u) << c.text << " gave: " << error;
    }
}

TEST(DescriptionFile, NewCardsWithoutAddressMayShareIt) {
    NetworkDescription network = Parse("card A ip=0.0.0.0\ncard B ip=0.0.0.0\n");
    EXPECT_EQ(network.cards.size(), 2u);
}

}  // namespace
}  // namespace sim
