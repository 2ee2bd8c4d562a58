#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "platform/lan/LanSettings.h"
#include "simulator/ServiceAdvertising.h"
#include "simulator/Simulator.h"
#include "simulator/StatusTraps.h"
#include "simulator/tests/CardFixture.h"
#include "simulator/tests/Collect.h"
#include "simulator/tests/LanTestConsole.h"

namespace sim::test {
namespace {

using std::chrono::milliseconds;

constexpr size_t CardCount = 200;

CardDescription NumberedCard(size_t i) {
    CardDescription card = SampleCard();
    card.name = "LAN-" + std::to_string(i);
    card.mac[4] = static_cast<uint8_t>(i >> 8);
    card.mac[5] = static_cast<uint8_t>(i);
    card.ip = {127, 0, 4, static_cast<uint8_t>(1 + i)};
    uint32_t network = plat::LocalIpxNetwork();
    card.ipxNetwork = {static_cast<uint8_t>(network >> 24), static_cast<uint8_t>(network >> 16),
                       static_cast<uint8_t>(network >> 8), static_cast<uint8_t>(network)};
    return card;
}

plat::IpxAddress IpxBroadcast(uint16_t socket) {
    return {plat::LocalIpxNetwork(), plat::kBroadcastAddress, socket};
}

plat::HardwareAddress StationOf(size_t card) {
    plat::HardwareAddress station;
    station.bytes = NumberedCard(card).mac;
    return station;
}

// Each answer comes from the station whose hardware address it reports.
void ExpectEveryCardAnsweredFromItsStation(const std::vector<LanDatagram>& answers) {
    ASSERT_EQ(answers.size(), CardCount);
    std::set<std::string> stations;
    for (const LanDatagram& received : answers) {
        std::optional<Answer> answer = DecodeAnswer(received.bytes);
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->bindings.size(), 3u);
        size_t nodeAt = received.from.protocol == Protocol::Ipx ? 4 : 0;
        std::string station(received.from.address.begin() + nodeAt,
                            received.from.address.begin() + nodeAt + 6);
        EXPECT_EQ(answer->bindings[0].second.bytes, station);
        stations.insert(station);
    }
    EXPECT_EQ(stations.size(), CardCount);
}

class SimulatorLanTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(plat::LanConfigured()) << "runs inside scripts/netns-run";
        StartCards(simulator, CardCount, NumberedCard);
    }
    static void TearDownTestSuite() { simulator.reset(); }

    static std::unique_ptr<Simulator> simulator;
};

std::unique_ptr<Simulator> SimulatorLanTest::simulator;

TEST_F(SimulatorLanTest, BroadcastGetOverIpxIsAnsweredByEveryCard) {
    IpxTestSocket console;
    ASSERT_TRUE(
        console.SendTo(IpxBroadcast(SnmpIpxSocket), EncodeGet(1, {HardwareOid, AddressOid, CategoryOid})));
    std::vector<LanDatagram> answers = Collect(console, CardCount);
    ExpectEveryCardAnsweredFromItsStation(answers);
    for (const LanDatagram& answer : answers) {
        EXPECT_EQ(answer.from.port, SnmpIpxSocket);
    }
}

TEST_F(SimulatorLanTest, BroadcastGetOverDlcIsAnsweredByEveryCard) {
    DlcTestSap console(14);
    ASSERT_TRUE(console.SendTo(plat::kBroadcastAddress, SnmpSap,
                               EncodeGet(1, {HardwareOid, AddressOid, CategoryOid})));
    std::vector<LanDatagram> answers = Collect(console, CardCount);
    ExpectEveryCardAnsweredFromItsStation(answers);
    for (const LanDatagram& answer : answers) {
        EXPECT_EQ(answer.from.port, SnmpSap);
    }
}

TEST_F(SimulatorLanTest, ServiceQueryFindsEveryPrintServer) {
    IpxTestSocket console;
    ASSERT_TRUE(console.SendTo(IpxBroadcast(ServiceSocket), {0x00, 0x01, 0x09, 0x22}));
    std::vector<LanDatagram> replies = Collect(console, CardCount);
    ASSERT_EQ(replies.size(), CardCount);
    using Node = std::array<uint8_t, 6>;
    std::set<Node> nodes;
    for (const LanDatagram& reply : replies) {
        ASSERT_EQ(reply.bytes.size(), 66u);
        EXPECT_EQ(reply.bytes[0] << 8 | reply.bytes[1], 2) << "general service response";
        EXPECT_EQ(reply.bytes[2] << 8 | reply.bytes[3], 0x0922);
        Node node, sender;
        std::copy_n(reply.bytes.begin() + 2 + 54, node.size(), node.begin());
        std::copy_n(reply.from.address.begin() + 4, sender.size(), sender.begin());
        EXPECT_EQ(node, sender);
        nodes.insert(node);
    }
    EXPECT_EQ(nodes.size(), CardCount);
    ASSERT_TRUE(console.SendTo(IpxBroadcast(ServiceSocket), {0x00, 0x01, 0x00, 0x04}));
    EXPECT_FALSE(console.Receive(milliseconds(300))) << "file servers are somebody else";
}

TEST_F(SimulatorLanTest, FaultsAndTrapsFollowTheProtocol) {
    const size_t card = 42;
    DlcTestSap console(14);
    IpxTestSocket ipx;
    simulator->SetFaults(card, Protocol::Dlc, {.silent = true});
    ASSERT_TRUE(console.SendTo(StationOf(card), SnmpSap, EncodeGet(2, {"1.3.6.1.2.1.1.5.0"})));
    EXPECT_FALSE(console.Receive(milliseconds(300))) << "silent over DLC";
    plat::IpxAddress cardIpx{plat::LocalIpxNetwork(), StationOf(card), SnmpIpxSocket};
    ASSERT_TRUE(ipx.SendTo(cardIpx, EncodeGet(3, {"1.3.6.1.2.1.1.5.0"})));
    std::optional<LanDatagram> overIpx = ipx.Receive(milliseconds(2000));
    ASSERT_TRUE(overIpx) << "still answering over IPX";
    EXPECT_EQ(DecodeAnswer(overIpx->bytes)->bindings.at(0).second, MibValue::Text("LAN-42"));
    simulator->SetFaults(card, Protocol::Dlc, {.garbled = true});
    ASSERT_TRUE(console.SendTo(StationOf(card), SnmpSap, EncodeGet(4, {"1.3.6.1.2.1.1.5.0"})));
    std::optional<LanDatagram> garbled = console.Receive(milliseconds(2000));
    ASSERT_TRUE(garbled);
    EXPECT_FALSE(DecodeAnswer(garbled->bytes));
    simulator->SetFaults(card, Protocol::Dlc, {});

    // A console registered over DLC only gets its trap at SAP 12 of its station.
    DlcTestSap trapSap(TrapSap);
    for (const Pairs& set :
         RegistrationSets("7.7.7.7.7.7", {{5, MibValue::Integer(4)}, {4, MibValue::Integer(4)}})) {
        ASSERT_TRUE(console.SendTo(StationOf(card), SnmpSap, EncodeRequest(kPduSet, 5, set)));
        std::optional<LanDatagram> answer = console.Receive(milliseconds(2000));
        ASSERT_TRUE(answer);
        ASSERT_EQ(DecodeAnswer(answer->bytes)->errorStatus, 0);
    }
    simulator->SetStatus(card, 260);
    std::optional<LanDatagram> trap = trapSap.Receive(milliseconds(2000));
    ASSERT_TRUE(trap);
    EXPECT_EQ(trap->from.port, SnmpSap);
    plat::HardwareAddress station = StationOf(card);
    EXPECT_TRUE(std::equal(station.bytes.begin(), station.bytes.end(), trap->from.address.begin()));
    std::optional<Trap> decoded = DecodeTrapMessage(trap->bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->specific, 18);
    EXPECT_EQ(decoded->bindings.at(0).second, MibValue::Integer(260));
}

}  // namespace
}  // namespace sim::test
