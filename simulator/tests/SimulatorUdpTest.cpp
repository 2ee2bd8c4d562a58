#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "simulator/CardValueText.h"
#include "simulator/Simulator.h"
#include "simulator/StatusTraps.h"
#include "simulator/tests/CardFixture.h"
#include "simulator/tests/Collect.h"
#include "simulator/tests/ProgramOutput.h"
#include "simulator/tests/UdpTestClient.h"

namespace sim::test {
namespace {

using std::chrono::milliseconds;

constexpr size_t CardCount = 200;
const Ipv4 Broadcast{255, 255, 255, 255};

Ipv4 CardAddress(size_t i) {
    return {127, 0, static_cast<uint8_t>(1 + i / 250), static_cast<uint8_t>(1 + i % 250)};
}

CardDescription NumberedCard(size_t i) {
    CardDescription card = SampleCard();
    card.name = "PS-" + std::to_string(i);
    card.mac[4] = static_cast<uint8_t>(i >> 8);
    card.mac[5] = static_cast<uint8_t>(i);
    card.ip = CardAddress(i);
    card.engine = static_cast<EngineType>(1 + i % 4);
    return card;
}

class SimulatorUdpTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartCards(simulator, CardCount, NumberedCard); }
    static void TearDownTestSuite() { simulator.reset(); }

    static std::unique_ptr<Simulator> simulator;
    UdpTestClient client;
};

std::unique_ptr<Simulator> SimulatorUdpTest::simulator;

TEST_F(SimulatorUdpTest, BroadcastGetIsAnsweredByEveryCardFromItsOwnAddress) {
    ASSERT_TRUE(client.SendTo(Broadcast, 161, EncodeGet(1, {HardwareOid, AddressOid, CategoryOid})));
    std::vector<Received> answers = Collect(client, CardCount);
    ASSERT_EQ(answers.size(), CardCount);
    std::set<std::string> hardware;
    for (const Received& received : answers) {
        std::optional<Answer> answer = DecodeAnswer(received.bytes);
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->bindings.size(), 3u);
        EXPECT_EQ(answer->bindings[1].second, MibValue::Ip(received.from)) << "answered from its own address";
        EXPECT_EQ(received.port, 161);
        hardware.insert(answer->bindings[0].second.bytes);
    }
    EXPECT_EQ(hardware.size(), CardCount);
    EXPECT_FALSE(client.Receive(milliseconds(100))) << "one answer per card";
}

TEST_F(SimulatorUdpTest, UnicastReachesOnlyTheAddressedCard) {
    ASSERT_TRUE(client.SendTo(CardAddress(57), 161, EncodeGet(5, {"1.3.6.1.2.1.1.5.0"})));
    std::vector<Received> answers = Collect(client, 2, milliseconds(500));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].from, CardAddress(57));
    EXPECT_EQ(DecodeAnswer(answers[0].bytes)->bindings[0].second, MibValue::Text("PS-57"));
    ASSERT_TRUE(client.SendTo({127, 0, 9, 9}, 161, EncodeGet(6, {"1.3.6.1.2.1.1.5.0"})));
    EXPECT_FALSE(client.Receive(milliseconds(300))) << "no card lives there";
}

// Many consoles asking at once, each its own cards, as a status poll's threads do: every request gets
// its own answer, from its card, while the requests are answered side by side.
TEST_F(SimulatorUdpTest, ConsolesAskingAtOnceEachGetTheirOwnAnswers) {
    constexpr size_t kConsoles = 8;
    std::atomic<size_t> answered{0};
    std::vector<std::thread> consoles;
    for (size_t console = 0; console < kConsoles; ++console) {
        consoles.emplace_back([console, &answered] {
            UdpTestClient own;
            for (size_t card = console; card < CardCount; card += kConsoles) {
                const auto id = static_cast<int32_t>(1000 + card);
                ASSERT_TRUE(own.SendTo(CardAddress(card), 161, EncodeGet(id, {"1.3.6.1.2.1.1.5.0"})));
                std::optional<Received> received = own.Receive(milliseconds(5000));
                ASSERT_TRUE(received) << "card " << card;
                std::optional<Answer> answer = DecodeAnswer(received->bytes);
                ASSERT_TRUE(answer);
                EXPECT_EQ(answer->requestId, id);
                EXPECT_EQ(received->from, CardAddress(card));
                EXPECT_EQ(answer->bindings.at(0).second, MibValue::Text("PS-" + std::to_string(card)));
                ++answered;
            }
        });
    }
    for (std::thread& console : consoles) {
        console.join();
    }
    EXPECT_EQ(answered.load(), CardCount);
}

TEST_F(SimulatorUdpTest, RegisteredConsoleReceivesTheStatusTrap) {
    UdpTestClient listener(TrapPort);
    size_t card = 12;
    for (const Pairs& set : RegistrationSets(
             "1.2.3.4.5.6",
             {{2, MibValue::Ip({127, 0, 0, 1})}, {5, MibValue::Integer(2)}, {4, MibValue::Integer(2)}})) {
        ASSERT_TRUE(client.SendTo(CardAddress(card), 161, EncodeRequest(kPduSet, 30, set)));
        std::optional<Received> answer = client.Receive(milliseconds(1000));
        ASSERT_TRUE(answer);
        ASSERT_EQ(DecodeAnswer(answer->bytes)->errorStatus, 0);
    }
    simulator->SetStatus(card, 68);
    std::optional<Received> received = listener.Receive(milliseconds(2000));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->from, CardAddress(card));
    std::optional<Trap> trap = DecodeTrapMessage(received->bytes);
    ASSERT_TRUE(trap);
    EXPECT_EQ(trap->generic, 6);
    EXPECT_EQ(trap->specific, 18);
    EXPECT_EQ(trap->bindings.at(0).second, MibValue::Integer(68));

    simulator->SetStatus(card, 68);
    EXPECT_FALSE(listener.Receive(milliseconds(200))) << "no change, no trap";
}

TEST_F(SimulatorUdpTest, DelayedAnswerLeavesLater) {
    size_t card = 3;
    simulator->SetFaults(card, Protocol::Ip, {.delayMs = 400});
    ASSERT_TRUE(client.SendTo(CardAddress(card), 161, EncodeGet(8, {"1.3.6.1.2.1.1.5.0"})));
    EXPECT_FALSE(client.Receive(milliseconds(150)));
    EXPECT_TRUE(client.Receive(milliseconds(2000)));
    simulator->SetFaults(card, Protocol::Ip, {});
}

TEST_F(SimulatorUdpTest, NetSnmpToolsReadTheSystemGroupAndPrivateObjects) {
    std::string host = Ipv4Text(CardAddress(21));
    ProgramResult get =
        RunProgram({"snmpget", "-v1", "-c", SystemCommunity, "-On", "-t", "2", "-r", "1", host,
                    "1.3.6.1.2.1.1.5.0", E + ".1.9.1.0", E + ".12.6.1.6.0", HardwareOid},
                   {"MIBS="});
    ASSERT_EQ(get.exitCode, 0) << get.output;
    EXPECT_NE(get.output.find(".1.3.6.1.2.1.1.5.0 = STRING: \"PS-21\""), std::string::npos) << get.output;
    EXPECT_NE(get.output.find("." + E + ".1.9.1.0 = INTEGER: 0"), std::string::npos) << get.output;
    EXPECT_NE(get.output.find("." + E + ".12.6.1.6.0 = INTEGER: 2"), std::string::npos) << get.output;

    ProgramResult walk = RunProgram(
        {"snmpwalk", "-v1", "-c", SystemCommunity, "-On", "-t", "2", host, "1.3.6.1.2.1.1"}, {"MIBS="});
    ASSERT_EQ(walk.exitCode, 0) << walk.output;
    EXPECT_EQ(std::count(walk.output.begin(), walk.output.end(), '\n'), 7) << walk.output;
    EXPECT_NE(walk.output.find("Timeticks"), std::string::npos) << walk.output;

    ProgramResult table = RunProgram(
        {"snmpwalk", "-v1", "-c", SystemCommunity, "-On", "-t", "2", host, E + ".12.6.3.2.1.2"}, {"MIBS="});
    ASSERT_EQ(table.exitCode, 0) << table.output;
    EXPECT_NE(table.output.find("STRING: \"public\""), std::string::npos) << table.output;

    ProgramResult set = RunProgram({"snmpset", "-v1", "-c", SystemCommunity, "-On", "-t", "2", host,
                                    "1.3.6.1.2.1.1.6.0", "s", "Third floor"},
                                   {"MIBS="});
    ASSERT_EQ(set.exitCode, 0) << set.output;
    ProgramResult readOnly = RunProgram(
        {"snmpset", "-v1", "-c", SystemCommunity, "-t", "2", host, "1.3.6.1.2.1.1.1.0", "s", "x"}, {"MIBS="});
    EXPECT_NE(readOnly.exitCode, 0);
    EXPECT_NE(readOnly.output.find("noSuchName"), std::string::npos) << readOnly.output;
}

// What net-snmp's tools see of the agent's limits: a v1 get of 41 objects is too big, a v2c get is not
// answered but counted as a bad version, and the read-only community walks past the secrets.
TEST_F(SimulatorUdpTest, NetSnmpToolsMeetTheAgentsLimits) {
    std::string host = Ipv4Text(CardAddress(22));
    auto run = [&](const std::string& version, const std::string& community, std::vector<std::string> tail) {
        std::vector<std::string> arguments = {"snmpget", "-v" + version, "-c", community, "-On", "-t",
                                              "1",       "-r",           "0",  host};
        arguments.insert(arguments.end(), tail.begin(), tail.end());
        return RunProgram(arguments, {"MIBS="});
    };
    ProgramResult many = run("1", SystemCommunity, std::vector<std::string>(41, "1.3.6.1.2.1.1.5.0"));
    EXPECT_NE(many.output.find("tooBig"), std::string::npos) << many.output;

    ProgramResult v2c = run("2c", SystemCommunity, {"1.3.6.1.2.1.1.5.0"});
    EXPECT_NE(v2c.exitCode, 0);
    EXPECT_NE(v2c.output.find("Timeout"), std::string::npos) << v2c.output;
    ProgramResult badVersions = run("1", SystemCommunity, {"1.3.6.1.2.1.11.3.0"});
    EXPECT_NE(badVersions.output.find(".1.3.6.1.2.1.11.3.0 = Counter32: 1"), std::string::npos)
        << badVersions.output;

    ProgramResult walk =
        RunProgram({"snmpwalk", "-v1", "-c", "public", "-On", "-t", "2", host, E + ".12.6"}, {"MIBS="});
    ASSERT_EQ(walk.exitCode, 0) << walk.output;
    EXPECT_NE(walk.output.find("." + E + ".12.6.3.2.1.3.1 = INTEGER: 3"), std::string::npos) << walk.output;
    EXPECT_EQ(walk.output.find(SystemCommunity), std::string::npos) << walk.output;
    EXPECT_EQ(walk.output.find("." + E + ".12.6.1.2.0"), std::string::npos) << walk.output;
}

// A card without an address answers broadcasts only, until a broadcast set that names its
// hardware address gives it one.
TEST(NewCardTest, GetsItsFirstAddressByBroadcast) {
    Simulator simulator(SimulatorOptions{1161});
    CardDescription card = SampleCard();
    card.mac = {0x00, 0xC0, 0xDE, 0x77, 0x00, 0x01};
    card.ip = {0, 0, 0, 0};
    card.protocols = Bit(Protocol::Ip);
    simulator.AddCard(card);
    CardDescription other = SampleCard();
    other.mac = {0x00, 0xC0, 0xDE, 0x77, 0x00, 0x02};
    other.ip = {0, 0, 0, 0};
    other.protocols = Bit(Protocol::Ip);
    simulator.AddCard(other);
    std::string error;
    ASSERT_TRUE(simulator.Start(error)) << error;
    UdpTestClient client;

    ASSERT_TRUE(client.SendTo(Broadcast, 1161, EncodeGet(1, {HardwareOid, AddressOid, CategoryOid})));
    std::optional<Received> first = client.Receive(milliseconds(2000));
    ASSERT_TRUE(first);
    EXPECT_EQ(DecodeAnswer(first->bytes)->bindings.at(1).second, MibValue::Ip({0, 0, 0, 0}));
    ASSERT_TRUE(client.Receive(milliseconds(2000))) << "both new cards answer";

    std::string value = {127, 0, 8, 8};
    value.append(reinterpret_cast<const char*>(card.mac.data()), card.mac.size());
    ASSERT_TRUE(
        client.SendTo(Broadcast, 1161, EncodeRequest(kPduSet, 2, {{AddressOid, MibValue::Text(value)}})));
    std::optional<Received> taken = client.Receive(milliseconds(2000));
    ASSERT_TRUE(taken);
    EXPECT_EQ(DecodeAnswer(taken->bytes)->errorStatus, 0);
    EXPECT_EQ(taken->from, (Ipv4{127, 0, 8, 8})) << "the card answers from its new address";
    EXPECT_FALSE(client.Receive(milliseconds(300))) << "the other card keeps quiet";

    ASSERT_TRUE(client.SendTo({127, 0, 8, 8}, 1161, EncodeGet(3, {"1.3.6.1.2.1.1.5.0"})));
    std::optional<Received> unicast = client.Receive(milliseconds(2000));
    ASSERT_TRUE(unicast);
    EXPECT_EQ(unicast->from, (Ipv4{127, 0, 8, 8}));
}

}  // namespace
}  // namespace sim::test
