#include "simulator/CardOids.h"
#include "simulator/StatusTraps.h"
#include "simulator/tests/CardFixture.h"

namespace sim::test {
namespace {

class StatusTrapsTest : public CardFixture {
  protected:
    void Register(const std::string& row, const Columns& columns, const Peer& from = UdpPeer()) {
        for (const Pairs& set : RegistrationSets(row, columns)) {
            std::optional<Answer> answer = Set(set, from);
            ASSERT_TRUE(answer);
            ASSERT_EQ(answer->errorStatus, 0);
        }
    }

    static Columns IpColumns(Ipv4 console) {
        return {{2, MibValue::Ip(console)}, {5, MibValue::Integer(2)}, {4, MibValue::Integer(2)}};
    }

    std::vector<Outgoing> ChangeStatus(int32_t status) {
        card->SetPrinterStatus(status);
        return StatusTraps(*card);
    }
};

TEST_F(StatusTrapsTest, RegisteredConsoleGetsTheStatusAsFirstValue) {
    EXPECT_TRUE(ChangeStatus(68).empty()) << "nobody registered yet";
    Register("1.2.3.4.5.6", IpColumns({127, 0, 0, 1}));

    std::vector<Outgoing> traps = ChangeStatus(68);
    ASSERT_EQ(traps.size(), 1u);
    EXPECT_EQ(traps[0].to.protocol, Protocol::Ip);
    EXPECT_EQ(traps[0].to.port, TrapPort);
    EXPECT_EQ(std::vector<uint8_t>(traps[0].to.address.begin(), traps[0].to.address.begin() + 4),
              (std::vector<uint8_t>{127, 0, 0, 1}));
    std::optional<Trap> trap = DecodeTrapMessage(traps[0].bytes);
    ASSERT_TRUE(trap);
    EXPECT_EQ(trap->generic, 6);
    EXPECT_EQ(trap->specific, 18);
    EXPECT_EQ(trap->enterprise, E);
    EXPECT_EQ(trap->agent, (std::vector<uint8_t>{127, 0, 3, 7}));
    ASSERT_FALSE(trap->bindings.empty());
    EXPECT_EQ(trap->bindings[0], (std::pair{E + ".1.9.1.0", MibValue::Integer(68)}));

    EXPECT_EQ(DecodeTrapMessage(ChangeStatus(0).at(0).bytes)->specific, 19) << "back to ready";
    EXPECT_EQ(card->Counters().outTraps, 2u);
}

TEST_F(StatusTrapsTest, EachRowGoesOverTheProtocolItNames) {
    // Only DLC (mask 4): the trap goes to the station that registered, at the trap SAP.
    Register("9.9.9.9.9.1", {{5, MibValue::Integer(4)}, {4, MibValue::Integer(4)}}, DlcPeer());
    // IP and IPX, the card preferring IPX: the IPX trap goes to the network the row names.
    const std::string row = "9.9.9.9.9.2";
    Register(row, {{2, MibValue::Ip({127, 0, 0, 1})},
                   {3, MibValue::Text(std::string("\x00\xFA\xCA\xDE", 4))},
                   {5, MibValue::Integer(3)},
                   {4, MibValue::Integer(1)}});

    std::vector<Outgoing> traps = ChangeStatus(513);
    ASSERT_EQ(traps.size(), 2u);
    EXPECT_EQ(traps[0].to.protocol, Protocol::Dlc);
    EXPECT_EQ(traps[0].to.port, TrapSap);
    EXPECT_EQ(traps[0].to.address, DlcPeer().address);
    EXPECT_EQ(traps[1].to.protocol, Protocol::Ipx);
    EXPECT_EQ(traps[1].to.port, TrapIpxSocket);
    EXPECT_EQ(traps[1].to.address,
              (std::array<uint8_t, 10>{0x00, 0xFA, 0xCA, 0xDE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    card->Faults(Protocol::Dlc).Set({.silent = true});
    EXPECT_EQ(ChangeStatus(514).size(), 1u) << "a silent protocol carries no trap";
}

TEST_F(StatusTrapsTest, TrapReceiversOfTheSnmpPageGetOneTrapPerDestination) {
    Register("1.1.1.1.1.1", IpColumns({127, 0, 0, 1}));
    const std::string pair = E + ".12.6.2.2.1";
    ASSERT_EQ(Set({{pair + ".2.3", MibValue::Ip({127, 0, 0, 2})},
                   {pair + ".3.3", MibValue::Text("traps")},
                   {pair + ".4.3", MibValue::Integer(1)},
                   {pair + ".2.4", MibValue::Ip({127, 0, 0, 1})},
                   {pair + ".3.4", MibValue::Text("public")},
                   {pair + ".4.4", MibValue::Integer(1)}})
                  ->errorStatus,
              0);
    std::vector<Outgoing> traps = ChangeStatus(1);
    ASSERT_EQ(traps.size(), 2u) << "a console both registered and a receiver gets one trap";
    EXPECT_EQ(traps[1].to.address[3], 2);
    EXPECT_EQ(DecodeTrapMessage(traps[1].bytes)->bindings[0].second, MibValue::Integer(1));
}

TEST_F(StatusTrapsTest, AConsoleRegisteringAgainKeepsOneRow) {
    Register("2.2.2.2.2.2", IpColumns({127, 0, 0, 2}), UdpPeer(2));
    // A console registers under a new index after every detection: far more often than the
    // table has rows.
    for (int i = 0; i < 40; ++i) {
        const std::string row = "1.1.1.1.1." + std::to_string(i);
        Register(row, IpColumns({127, 0, 0, 1}));
    }
    // Over DLC the row names no address: the registering station is the destination.
    for (const char* row : {"3.3.3.3.3.1", "3.3.3.3.3.2"}) {
        Register(row, {{5, MibValue::Integer(4)}}, DlcPeer());
    }
    const std::map<Oid, MibTable::Row>& rows = card->Objects().FindTable(TrapRegistrations)->Rows();
    EXPECT_EQ(rows.size(), 3u);
    for (const char* kept : {"2.2.2.2.2.2", "1.1.1.1.1.39", "3.3.3.3.3.2"}) {
        EXPECT_TRUE(rows.contains(*Oid::Parse(kept))) << kept;
    }
    EXPECT_EQ(ChangeStatus(68).size(), 3u);
}

TEST_F(StatusTrapsTest, HalfMadeAndDeletedRowsSendNothing) {
    const std::string row = "5.5.5.5.5.5";
    const std::vector<Pairs> sets = RegistrationSets(row, IpColumns({127, 0, 0, 1}));
    ASSERT_EQ(Set(sets[0])->errorStatus, 0);
    ASSERT_EQ(Set(sets[1])->errorStatus, 0);
    EXPECT_TRUE(ChangeStatus(2).empty()) << "a row under creation";
    ASSERT_EQ(Set(sets[2])->errorStatus, 0);
    ASSERT_EQ(Set({{RegistrationCell(7, row), MibValue::Integer(4)}})->errorStatus, 0);
    EXPECT_TRUE(ChangeStatus(3).empty()) << "a deleted row";
}

}  // namespace
}  // namespace sim::test
