// Decoding of SNMPv1 traps, which arrive unasked from any host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "snmp/codec/SnmpValueType.h"
#include "snmp/tests/BerBytes.h"
#include "snmp/traps/TrapCodec.h"

namespace snmp {
namespace {

using test::Binding;
using test::Bytes;
using test::Cat;
using test::SystemOid;
using test::Tlv;
using test::Trap;

struct TrapDeleter {
    void operator()(TrapParam* trap) const { FreeTrapParam(trap); }
};
using DecodedTrap = std::unique_ptr<TrapParam, TrapDeleter>;

DecodedTrap Decode(const Bytes& datagram) {
    auto copy = std::make_unique<std::uint8_t[]>(datagram.size());
    std::copy(datagram.begin(), datagram.end(), copy.get());
    return DecodedTrap(DecodeTrap(copy.get(), datagram.size()));
}

const Bytes kStatusBinding = Binding(
    Tlv(0x06, {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01, 0x01, 0x09, 0x01, 0x00}),
    {0x02, 0x02, 0x04, 0x01});  // printer status 1025

TEST(TrapDecoder, ReadsAnEnterpriseSpecificStatusTrap) {
    DecodedTrap trap = Decode(Trap(6, {18}, kStatusBinding));
    ASSERT_NE(trap, nullptr);
    EXPECT_STREQ(trap->Community, "public");
    EXPECT_EQ(trap->CommunityLength, 6);
    EXPECT_STREQ(trap->Enterprise, "1.3.6.1.4.1.32473");
    EXPECT_EQ(trap->EnterpriseLength, 17);
    ASSERT_EQ(trap->AgentAddressLength, 4);
    EXPECT_EQ(Bytes(trap->AgentAddress, trap->AgentAddress + 4), (Bytes{10, 0, 0, 7}));
    EXPECT_EQ(trap->GenericTrap, 6);
    EXPECT_EQ(trap->SpecificTrap, 18);
    EXPECT_EQ(trap->TimeStamp, 0x1234u);
    ASSERT_EQ(trap->BindingCount, 1);
    EXPECT_STREQ(trap->Bindings[0].Oid, "1.3.6.1.4.1.32473.11.5.1.1.9.1.0");
    EXPECT_EQ(trap->Bindings[0].ValueType, kSnmpInteger);
    ASSERT_EQ(trap->Bindings[0].ValueLength, 4);
    EXPECT_EQ(*static_cast<std::int32_t*>(trap->Bindings[0].Value), 1025);
}

TEST(TrapDecoder, KeepsTheLow16BitsOfTheSpecificTrap) {
    DecodedTrap trap = Decode(Trap(6, {0x01, 0x00, 0x12}, kStatusBinding));  // 65536 + 18
    ASSERT_NE(trap, nullptr);
    EXPECT_EQ(trap->SpecificTrap, 18);
}

TEST(TrapDecoder, AnEmptyBindingListGivesACountOfZero) {
    DecodedTrap trap = Decode(Trap(0, {0}, {}));
    ASSERT_NE(trap, nullptr);
    EXPECT_EQ(trap->GenericTrap, 0);
    EXPECT_EQ(trap->BindingCount, 0);
}

TEST(TrapDecoder, AcceptsValuesThatFillTheirBlock) {
    DecodedTrap trap = Decode(Trap(6, {19}, Binding(SystemOid(5), Tlv(0x04, Bytes(kTrapValueBlock, 'v')))));
    ASSERT_NE(trap, nullptr);
    EXPECT_EQ(trap->Bindings[0].ValueLength, static_cast<std::int32_t>(kTrapValueBlock));
}

TEST(TrapDecoder, RefusesWhatIsNotAnAcceptableTrap) {
    Bytes fortyOne;
    for (int i = 0; i < 41; ++i) {
        fortyOne = Cat({fortyOne, Binding(SystemOid(1), {0x05, 0x00})});
    }
    Bytes longerOuter = Trap(6, {18}, kStatusBinding);
    longerOuter[1] += 1;
    Bytes shortAgent = Trap(6, {18}, {});
    const Bytes agentHeader = {0x40, 0x04};
    const auto agent =
        std::search(shortAgent.begin(), shortAgent.end(), agentHeader.begin(), agentHeader.end());
    const Bytes getResponse = test::Response(kStatusBinding);

    struct Case {
        const char* what;
        Bytes datagram;
    };
    const Case cases[] = {
        {"a version-2c trap", Trap(6, {18}, kStatusBinding, "public", 1)},
        {"a GetResponse", getResponse},
        {"an outer length one byte longer", longerOuter},
        {"41 bindings", Trap(6, {18}, fortyOne)},
        {"a community of 256 bytes", Trap(6, {18}, {}, std::string(256, 'c'))},
        {"a value of 257 bytes", Trap(6, {18}, Binding(SystemOid(5), Tlv(0x04, Bytes(257, 'v'))))},
        {"a specific trap of length 0", Trap(6, {}, {})},
        {"a specific trap of 6 bytes", Trap(6, {0, 0, 0, 0, 0, 18}, {})},
        {"a constructed value", Trap(6, {18}, Binding(SystemOid(1), Tlv(0x30, {0x05, 0x00})))},
        {"a binding with a byte after its value",
         Trap(6, {18}, Tlv(0x30, Cat({SystemOid(1), {0x05, 0x00, 0x00}})))},
        {"an octet string longer than the input", Trap(6, {18}, Binding(SystemOid(1), {0x04, 0x7F, 'a'}))},
        {"no datagram at all", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.datagram), nullptr) << c.what;
    }
    ASSERT_NE(agent, shortAgent.end());
    agent[1] = 0x03;  // an agent address of 3 bytes
    EXPECT_EQ(Decode(shortAgent), nullptr);
}

TEST(TrapRoundTrip, EncodedTrapsDecodeToTheSameRecord) {
    char community[] = "k!r@o#v$e%t";
    char enterprise[] = "1.3.6.1.4.1.32473.11.5";
    std::uint8_t agent[] = {127, 0, 0, 9};
    char oid[] = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";
    std::int32_t status = 2049;
    VarBind binding{oid, static_cast<std::int32_t>(std::strlen(oid)), kSnmpInteger, &status, 4};
    const TrapParam original{community,   11, enterprise, static_cast<std::uint16_t>(std::strlen(enterprise)),
                             agent,       4,  6,          19,
                             4000000000u, 1,  &binding};
    std::uint8_t buffer[512];
    std::size_t written = 0;
    ASSERT_EQ(EncodeTrap(original, buffer, sizeof buffer, written), kEncodeOk);

    DecodedTrap trap = Decode(Bytes(buffer, buffer + written));
    ASSERT_NE(trap, nullptr);
    EXPECT_STREQ(trap->Community, community);
    EXPECT_STREQ(trap->Enterprise, enterprise);
    EXPECT_EQ(Bytes(trap->AgentAddress, trap->AgentAddress + 4), Bytes(agent, agent + 4));
    EXPECT_EQ(trap->GenericTrap, 6);
    EXPECT_EQ(trap->SpecificTrap, 19);
    EXPECT_EQ(trap->TimeStamp, 4000000000u);
    ASSERT_EQ(trap->BindingCount, 1);
    EXPECT_STREQ(trap->Bindings[0].Oid, oid);
    EXPECT_EQ(*static_cast<std::int32_t*>(trap->Bindings[0].Value), 2049);

    EXPECT_EQ(EncodeTrap(original, buffer, written - 1, written), kEncodeCannotWrite);
}

}  // namespace
}  // namespace snmp
