// The library against simulated print server cards in the test network: object groups, trap
// registration over UDP, IPX and DLC with a status trap reaching this PC, the clean-up of a refused
// registration, and the keep-alive.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/StorePaths.h"
#include "simulator/CardOids.h"
#include "simulator/Simulator.h"
#include "snmp/exchange/ObjectGroups.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/tests/DeviceStoreEntry.h"
#include "snmp/tests/LoopbackSocket.h"
#include "tests/Eventually.h"

namespace snmp::test {
namespace {

constexpr std::size_t kCardCount = 10;
const std::string kIpxNetwork = "00FACADE";

sim::CardDescription NumberedCard(std::size_t i) {
    sim::CardDescription card;
    card.name = "PS-" + std::to_string(i);
    card.location = "Room " + std::to_string(i);
    card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x00, static_cast<std::uint8_t>(1 + i)};
    card.ip = {127, 0, 3, static_cast<std::uint8_t>(1 + i)};
    card.ipxNetwork = {0x00, 0xFA, 0xCA, 0xDE};
    card.engine = sim::EngineType::Office;
    card.status = 0;
    return card;
}

std::string AdapterName(std::size_t i) {
    char name[13];
    std::snprintf(name, sizeof name, "00C0DE0000%02X", static_cast<unsigned>(1 + i));
    return name;
}

// The card as a device store entry with the given protocols.
void WriteCardEntry(std::size_t i, std::uint32_t protocols, std::optional<std::uint32_t> preferred) {
    WriteDeviceEntry({AdapterName(i), "127.0.3." + std::to_string(1 + i), kIpxNetwork + AdapterName(i),
                      protocols, preferred});
}

// The values of an SnmpValueText, item by item (octet strings read by their count).
std::vector<std::string> ValueItems(const std::string& text, std::vector<int>* types = nullptr) {
    std::vector<std::string> values;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t comma = text.find(',', at);
        const int type = std::stoi(text.substr(at, comma - at));
        at = comma + 1;
        std::size_t end = text.find(',', at);
        if (type == 2) {
            const std::size_t count = std::stoul(text.substr(at, end - at));
            at = end + 1;
            end = at + count;
        }
        end = std::min(end, text.size());
        values.push_back(text.substr(at, end - at));
        if (types != nullptr) {
            types->push_back(type);
        }
        at = end + 1;
    }
    return values;
}

class SimulatorExchangeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        simulator = new sim::Simulator();
        for (std::size_t i = 0; i < kCardCount; ++i) {
            simulator->AddCard(NumberedCard(i));
        }
        std::string error;
        started = simulator->Start(error);
        startError = error;
    }
    static void TearDownTestSuite() {
        delete simulator;
        simulator = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(started) << startError;
        WriteExchangeSettings(1, 1);
    }

    using Rows = std::vector<std::pair<sim::Oid, sim::MibTable::Row>>;
    static Rows ValidRegistrations(std::size_t card) {
        Rows rows;
        simulator->Inspect(
            card, [&](sim::Card& c) { rows = c.Objects().FindTable(sim::TrapRegistrations)->ValidRows(); });
        return rows;
    }
    static std::size_t AllRegistrationRows(std::size_t card) {
        std::size_t count = 0;
        simulator->Inspect(card, [&](sim::Card& c) {
            count = c.Objects().FindTable(sim::TrapRegistrations)->Rows().size();
        });
        return count;
    }
    static std::uint32_t SetRequests(std::size_t card) {
        std::uint32_t count = 0;
        simulator->Inspect(card, [&](sim::Card& c) { count = c.Counters().inSetRequests; });
        return count;
    }
    // Where the card sends its status traps for its registration rows.
    static std::vector<sim::Peer> TrapDestinations(std::size_t card) {
        std::vector<sim::Peer> destinations;
        simulator->Inspect(card, [&](sim::Card& c) { destinations = c.RegisteredConsoles(); });
        return destinations;
    }

    static sim::Simulator* simulator;
    static bool started;
    static std::string startError;
};

sim::Simulator* SimulatorExchangeTest::simulator = nullptr;
bool SimulatorExchangeTest::started = false;
std::string SimulatorExchangeTest::startError;

TEST_F(SimulatorExchangeTest, EveryGroupIsAnsweredWithOneItemPerObjectInItsOrder) {
    WriteCardEntry(0, 2, 2);
    for (std::int32_t index = 0; index < kObjectGroupCount; ++index) {
        SCOPED_TRACE(index);
        char values[4096];
        std::int32_t size = sizeof values;
        ASSERT_EQ(HelperGetSNMPObjects(AdapterName(0).c_str(), index, values, &size), 0);
        EXPECT_EQ(static_cast<std::int32_t>(ValueItems(values).size()), FindObjectGroup(index)->count)
            << values;
    }
    char values[200];
    std::int32_t size = sizeof values;
    ASSERT_EQ(HelperGetSNMPObjects(AdapterName(0).c_str(), 22, values, &size), 0);
    std::vector<int> types;
    const std::vector<std::string> items = ValueItems(values, &types);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], "PS-0");
    EXPECT_EQ(items[1], "Room 0");
    EXPECT_EQ(types[2], 1);
    EXPECT_EQ(items[2], "0") << "the printer status";
    size = sizeof values;
    ASSERT_EQ(HelperGetSNMPObjects(AdapterName(0).c_str(), 20, values, &size), 0);
    const std::vector<std::string> group20 = ValueItems(values);
    ASSERT_EQ(group20.size(), 7u);
    EXPECT_EQ(group20[1], group20[5]) << "the object asked for twice answers twice";
}

// A get of the card's name through the text interface.
std::int32_t GetName(std::size_t card, std::string& values) {
    char oids[128] = "1.3.6.1.2.1.1.5.0";
    char text[200];
    std::int32_t size = sizeof text;
    const std::int32_t result =
        HelperSNMPTransact(AdapterName(card).c_str(), 0, oids, sizeof oids, text, &size, 1);
    values = result == 0 ? text : "";
    return result;
}

std::optional<std::uint32_t> PreferredProtocol(std::size_t card) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + AdapterName(card);
    plat::StoreKey key = 0;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, path.c_str(), plat::kStoreRead, &key) !=
        plat::kStoreOk) {
        return std::nullopt;
    }
    const bool read = plat::StoreQueryValue(key, "pProtocol", nullptr, &value, &size) == plat::kStoreOk;
    plat::StoreCloseKey(key);
    return read ? std::optional<std::uint32_t>(value) : std::nullopt;
}

TEST_F(SimulatorExchangeTest, ExchangesGoOverTheProtocolTheEntryPrefers) {
    for (std::uint32_t protocol : {1u, 2u, 4u}) {
        SCOPED_TRACE(protocol);
        WriteCardEntry(8, 7, protocol);
        std::string values;
        EXPECT_EQ(GetName(8, values), 0);
        EXPECT_EQ(values, "2,4,PS-8");
        EXPECT_EQ(PreferredProtocol(8), protocol);
    }
}

TEST_F(SimulatorExchangeTest, AnExchangeFallsBackToAnotherProtocolWhenThePreferredOneIsSilent) {
    WriteCardEntry(9, 3, 2);
    sim::FaultSwitches silent;
    silent.silent = true;
    simulator->SetFaults(9, sim::Protocol::Ip, silent);
    std::string values;
    EXPECT_EQ(GetName(9, values), 0);
    EXPECT_EQ(values, "2,4,PS-9");
    EXPECT_EQ(PreferredProtocol(9), 1u) << "IPX is stored as the protocol to start with";
    simulator->SetFaults(9, sim::Protocol::Ip, {});
}

TEST_F(SimulatorExchangeTest, ARegistrationOverUdpBringsTheStatusTrapsToThisPc) {
    WriteCardEntry(1, 2, 2);
    LoopbackSocket listener(162);  // where this PC receives status traps
    ASSERT_TRUE(listener.Bound());
    ASSERT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(1).c_str(), 2, 2), 0);
    const Rows rows = ValidRegistrations(1);
    ASSERT_EQ(rows.size(), 1u);
    const sim::MibTable::Row& cells = rows[0].second;
    EXPECT_EQ(cells.at(2).bytes, std::string("\x7F\x00\x00\x01", 4))
        << "this PC's address in the test network";
    EXPECT_EQ(cells.at(5).number, 2) << "the mask of the addresses registered";
    EXPECT_EQ(cells.at(4).number, 2) << "the print server's preferred protocol";
    EXPECT_EQ(rows[0].first.Size(), 6u) << "six arcs of index";

    simulator->SetStatus(1, 1025);
    std::vector<std::uint8_t> datagram = listener.Receive(3000);
    ASSERT_FALSE(datagram.empty()) << "no status trap arrived";
    TrapParam* trap = HelperSnmpDecodeTrapPdu(datagram.data(), static_cast<std::int32_t>(datagram.size()));
    ASSERT_NE(trap, nullptr);
    EXPECT_EQ(trap->GenericTrap, 6);
    EXPECT_EQ(trap->SpecificTrap, 18);
    ASSERT_GE(trap->BindingCount, 1);
    std::uint32_t status = 0;
    ASSERT_TRUE(ReadBindingNumber(trap->Bindings[0], status));
    EXPECT_EQ(status, 1025u);
    FreeTrapParam(trap);
}

TEST_F(SimulatorExchangeTest, RegistrationsOverIpxAndDlcNameThoseProtocols) {
    struct Case {
        std::size_t card;
        std::uint32_t protocols;
        sim::Protocol over;
        bool ipxColumn;
    };
    const Case cases[] = {{2, 1, sim::Protocol::Ipx, true}, {3, 4, sim::Protocol::Dlc, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.protocols);
        WriteCardEntry(c.card, c.protocols, c.protocols);
        ASSERT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(c.card).c_str(), 0, 0), 0);
        const Rows rows = ValidRegistrations(c.card);
        ASSERT_EQ(rows.size(), 1u);
        const sim::MibTable::Row& cells = rows[0].second;
        EXPECT_EQ(cells.at(5).number, c.protocols);
        EXPECT_EQ(cells.at(4).number, c.protocols);
        EXPECT_EQ(cells.at(3).bytes.size(), c.ipxColumn ? 4u : 0u) << "the IPX network number only";
        EXPECT_EQ(cells.at(2).bytes, std::string(4, '\0')) << "no IP address registered";
        const std::vector<sim::Peer> destinations = TrapDestinations(c.card);
        ASSERT_EQ(destinations.size(), 1u);
        EXPECT_EQ(destinations[0].protocol, c.over) << "status traps go back over the registered protocol";
    }
}

TEST_F(SimulatorExchangeTest, EachRegistrationMakesARowOfItsOwn) {
    // The card keeps one valid row per destination: the newer registration's row takes the place of
    // the older one, so the rows' indexes tell the two registrations apart.
    WriteCardEntry(4, 3, 2);
    ASSERT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(4).c_str(), 0, 0), 0);
    const Rows first = ValidRegistrations(4);
    ASSERT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(4).c_str(), 0, 0), 0);
    const Rows second = ValidRegistrations(4);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first[0].first, second[0].first);
    const sim::MibTable::Row& cells = second[0].second;
    EXPECT_EQ(cells.at(5).number, 3) << "IP and IPX both have an address on this PC";
    EXPECT_EQ(cells.at(2).bytes, std::string("\x7F\x00\x00\x01", 4));
    EXPECT_EQ(cells.at(3).bytes.size(), 4u);
}

TEST_F(SimulatorExchangeTest, ARefusedAddressSetDeletesTheHalfMadeRowAndFails) {
    // Without "pProtocol" the entry's preferred protocol reads as its mask, 6, which the card's
    // table refuses.
    WriteCardEntry(5, 6, std::nullopt);
    const std::uint32_t before = SetRequests(5);
    EXPECT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(5).c_str(), 0, 0), 25014);
    EXPECT_EQ(SetRequests(5) - before, 3u) << "create, the refused address set, delete";
    EXPECT_EQ(AllRegistrationRows(5), 0u) << "the created row is deleted again";
}

TEST_F(SimulatorExchangeTest, ARegistrationThatCannotStartLeavesThePrintServerUntouched) {
    WriteCardEntry(6, 2, 2);
    sim::FaultSwitches generalError;
    generalError.errorStatus = 5;
    simulator->SetFaults(6, sim::Protocol::Ip, generalError);
    const std::uint32_t before = SetRequests(6);
    EXPECT_EQ(HelperSNMPRegisterTrapDestination(1, AdapterName(6).c_str(), 0, 0), 25014)
        << "a general error refuses the row's creation";
    EXPECT_EQ(SetRequests(6) - before, 1u) << "nothing more is sent once the row cannot be made";
    simulator->SetFaults(6, sim::Protocol::Ip, {});
    EXPECT_EQ(HelperSNMPRegisterTrapDestination(2, AdapterName(6).c_str(), 0, 0), 25014)
        << "no row to remove";
    EXPECT_EQ(HelperSNMPRegisterTrapDestination(1, "00C0DE0000FF", 0, 0), 25014) << "not in the device store";
    EXPECT_EQ(AllRegistrationRows(6), 0u);

    char values[200];
    std::int32_t size = sizeof values;
    simulator->SetFaults(6, sim::Protocol::Ip, generalError);
    EXPECT_EQ(HelperGetSNMPObjects(AdapterName(6).c_str(), 22, values, &size), 25011);
    simulator->SetFaults(6, sim::Protocol::Ip, {});
}

TEST_F(SimulatorExchangeTest, KeepAliveReachesThePrintServer) {
    WriteCardEntry(7, 2, 2);
    auto gets = [] {
        std::uint32_t count = 0;
        simulator->Inspect(7, [&](sim::Card& c) { count = c.Counters().inGetRequests; });
        return count;
    };
    const std::uint32_t before = gets();
    ASSERT_EQ(HelperTrapKeepAlive(AdapterName(7).c_str()), 0);
    testsupport::Eventually([&] { return gets() != before; });
    EXPECT_EQ(gets(), before + 1);
}

}  // namespace
}  // namespace snmp::test
