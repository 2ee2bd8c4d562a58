#include <algorithm>
#include <cstdint>
#include <iterator>

#include "simulator/CardOids.h"
#include "simulator/WireBindings.h"
#include "simulator/tests/CardFixture.h"
#include "snmp/codec/SnmpValueType.h"

namespace sim::test {
namespace {

const std::string Name = "1.3.6.1.2.1.1.5.0";

TEST_F(CardFixture, DiscoveryGetAnswersHardwareAddressIpAddressAndCategory) {
    std::optional<Answer> answer = Get({HardwareOid, AddressOid, CategoryOid}, 1);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->requestId, 1);
    EXPECT_EQ(answer->errorStatus, 0);
    ASSERT_EQ(answer->bindings.size(), 3u);
    EXPECT_EQ(answer->bindings[0],
              (std::pair{HardwareOid, MibValue::Text(std::string("\x00\xC0\xDE\x12\x34\x56", 6))}));
    EXPECT_EQ(answer->bindings[1], (std::pair{AddressOid, MibValue::Ip({127, 0, 3, 7})}));
    EXPECT_EQ(answer->bindings[2], (std::pair{CategoryOid, MibValue::Integer(2)}));
}

TEST_F(CardFixture, GetNextWalksTheSystemGroupInOrder) {
    std::string cursor = "1.3.6.1.2.1.1";
    std::vector<std::string> walked;
    for (int i = 0; i < 7; ++i) {
        std::optional<Answer> answer = Exchange(EncodeRequest(kPduGetNext, i, {{cursor, MibValue::None()}}));
        ASSERT_TRUE(answer);
        cursor = answer->bindings.at(0).first;
        walked.push_back(cursor);
    }
    EXPECT_EQ(walked.front(), "1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(walked.back(), "1.3.6.1.2.1.1.7.0");
}

TEST_F(CardFixture, ErrorsNameTheBindingAndEchoTheRequest) {
    struct Case {
        const char* what;
        std::vector<uint8_t> request;
        int status;
        int index;
    };
    const Case cases[] = {
        {"unknown object", EncodeGet(1, {Name, "1.3.6.1.2.1.1.99.0"}), 2, 2},
        {"past the last object", EncodeRequest(kPduGetNext, 1, {{"1.3.6.1.4.1.99999", MibValue::None()}}), 2,
         1},
        {"read-only object",
         EncodeRequest(kPduSet, 1, {{Name, MibValue::Text("x")}, {"1.3.6.1.2.1.1.1.0", MibValue::Text("x")}}),
         2, 2},
        {"wrong type", EncodeRequest(kPduSet, 1, {{Name, MibValue::Integer(5)}}), 3, 1},
        {"choice the engine lacks", EncodeRequest(kPduSet, 1, {{E + ".1.3.1.0", MibValue::Integer(1024)}}), 3,
         1},
    };
    for (const Case& c : cases) {
        std::optional<Answer> answer = Exchange(c.request);
        ASSERT_TRUE(answer) << c.what;
        EXPECT_EQ(answer->errorStatus, c.status) << c.what;
        EXPECT_EQ(answer->errorIndex, c.index) << c.what;
    }
    EXPECT_EQ(Get({Name})->bindings[0].second, MibValue::Text("PS-Lobby")) << "a refused set changes nothing";
    EXPECT_EQ(card->Counters().outNoSuchNames, 3u);
    EXPECT_EQ(card->Counters().outBadValues, 2u);
}

TEST_F(CardFixture, CommunitiesDecideWhoIsAnswered) {
    EXPECT_FALSE(Exchange(EncodeRequest(kPduGet, 1, {{Name, MibValue::None()}}, "guess")));
    EXPECT_TRUE(Exchange(EncodeRequest(kPduGet, 1, {{Name, MibValue::None()}}, "public")));
    EXPECT_FALSE(Exchange(EncodeRequest(kPduSet, 1, {{Name, MibValue::Text("x")}}, "public")));
    EXPECT_EQ(card->Counters().inBadCommunityNames, 1u);
    EXPECT_EQ(card->Counters().inBadCommunityUses, 1u);

    // The community table is the card's: switching the system's community off locks it out.
    ASSERT_TRUE(Set({{E + ".12.6.3.2.1.4.1", MibValue::Integer(2)}}));
    EXPECT_FALSE(Get({Name}));
}

TEST_F(CardFixture, UndecodableDatagramsAreNotAnswered) {
    std::vector<uint8_t> truncated = EncodeGet(1, {Name});
    truncated.pop_back();
    // The version is the third byte of the message's content: 02 01 00 for SNMPv1.
    auto ofVersion = [](uint8_t version) {
        std::vector<uint8_t> request = EncodeGet(1, {Name});
        EXPECT_EQ(request[4], 0);
        request[4] = version;
        return request;
    };
    const std::vector<uint8_t> datagrams[] = {truncated, {0x30, 0x00}, ofVersion(1), ofVersion(3)};
    for (const std::vector<uint8_t>& datagram : datagrams) {
        EXPECT_FALSE(Exchange(datagram));
    }
    EXPECT_EQ(card->Counters().inParseErrors, 2u);
    EXPECT_EQ(card->Counters().inBadVersions, 2u) << "v2c and v3 messages";
}

TEST_F(CardFixture, TooLargeAnswerBecomesTooBig) {
    std::vector<std::string> many(40, "1.3.6.1.2.1.1.1.0");
    std::optional<Answer> answer = Get(many);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->errorStatus, 1);
    EXPECT_EQ(answer->bindings.size(), 40u);
}

// Requests whose echo does not fit an answer: too many bindings for the codec, or long unknown objects.
TEST_F(CardFixture, OversizedRequestsAreAnsweredTooBigWithoutBindings) {
    std::string longUnknown = "1.3.6.1.4.1.99999";
    for (int i = 0; i < 20; ++i) {
        longUnknown += ".100000";
    }
    const std::vector<std::string> requests[] = {std::vector<std::string>(41, Name),
                                                 std::vector<std::string>(200, Name),
                                                 std::vector<std::string>(40, longUnknown)};
    for (const std::vector<std::string>& oids : requests) {
        std::optional<Answer> answer = Get(oids, 77);
        ASSERT_TRUE(answer) << oids.size();
        EXPECT_EQ(answer->requestId, 77);
        EXPECT_EQ(answer->errorStatus, 1);
        EXPECT_EQ(answer->errorIndex, 0);
        EXPECT_TRUE(answer->bindings.empty());
    }
    EXPECT_EQ(card->Counters().outTooBigs, 3u);
    EXPECT_EQ(card->Counters().inGetRequests, 3u);

    Pairs manyNames(41, {Name, MibValue::None()});
    EXPECT_FALSE(Exchange(EncodeRequest(kPduGet, 1, manyNames, "guess"))) << "the community still counts";
    EXPECT_EQ(card->Counters().inBadCommunityNames, 1u);
}

TEST_F(CardFixture, AReadOnlyCommunitySeesNoSecrets) {
    ASSERT_EQ(Set({{E + ".12.6.1.2.0", MibValue::Text("hunter2")}})->errorStatus, 0);
    auto read = [&](SnmpPduType type, const std::string& oid, const std::string& community) {
        return Exchange(EncodeRequest(type, 1, {{oid, MibValue::None()}}, community));
    };
    const std::string secrets[] = {E + ".12.6.1.2.0", E + ".12.6.1.3.0", E + ".12.6.3.2.1.2.1",
                                   E + ".12.6.3.2.1.2.2"};
    for (const std::string& secret : secrets) {
        EXPECT_EQ(read(kPduGet, secret, "public")->errorStatus, 2) << secret;
        EXPECT_EQ(read(kPduGet, secret, SystemCommunity)->errorStatus, 0) << secret;
    }
    EXPECT_EQ(Get({secrets[0]})->bindings[0].second, MibValue::Text("hunter2"));

    // Walks of the security group: the read-only one passes over the secrets and nothing else.
    auto walk = [&](const std::string& community) {
        std::vector<std::string> walked;
        std::string cursor = E + ".12.6";
        for (;;) {
            std::optional<Answer> answer = read(kPduGetNext, cursor, community);
            if (!answer || answer->errorStatus != 0 ||
                answer->bindings.at(0).first.rfind(E + ".12.6.", 0) != 0) {
                return walked;
            }
            cursor = answer->bindings[0].first;
            walked.push_back(cursor);
        }
    };
    std::vector<std::string> everything = walk(SystemCommunity);
    std::vector<std::string> visible = walk("public");
    std::vector<std::string> expected;
    std::ranges::copy_if(everything, std::back_inserter(expected), [&](const std::string& oid) {
        return std::ranges::none_of(secrets, [&](const std::string& secret) { return oid == secret; }) &&
               oid.rfind(E + ".12.6.3.2.1.2.", 0) != 0;
    });
    EXPECT_EQ(visible, expected);
    EXPECT_EQ(everything.size(), visible.size() + 7) << "two passwords and five community names";
}

TEST_F(CardFixture, NetWareServiceRowIsAddedListedChangedAndRetired) {
    const std::string entry = E + ".12.1.3.1";
    auto cell = [&](int column, int row) {
        return entry + "." + std::to_string(column) + "." + std::to_string(row);
    };
    ASSERT_EQ(Set({{cell(6, 1), MibValue::Integer(2)}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(2, 1), MibValue::Text("FS1\\QUEUE1")}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(3, 1), MibValue::Integer(1)}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(5, 1), MibValue::Text("FS1\\PS1")}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(6, 1), MibValue::Integer(1)}})->errorStatus, 0);

    std::optional<Answer> walk = Exchange(EncodeRequest(kPduGetNext, 3,
                                                        {{entry + ".2", MibValue::None()},
                                                         {entry + ".3", MibValue::None()},
                                                         {entry + ".5", MibValue::None()},
                                                         {entry + ".4", MibValue::None()},
                                                         {entry + ".6", MibValue::None()}}));
    ASSERT_TRUE(walk);
    EXPECT_EQ(walk->bindings[0], (std::pair{cell(2, 1), MibValue::Text("FS1\\QUEUE1")}));
    EXPECT_EQ(walk->bindings[4], (std::pair{cell(6, 1), MibValue::Integer(1)}));

    EXPECT_EQ(Set({{cell(3, 1), MibValue::Integer(2)}})->errorStatus, 3)
        << "a valid row changes only in modify";
    ASSERT_EQ(Set({{cell(6, 1), MibValue::Integer(3)}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(3, 1), MibValue::Integer(2)}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(6, 1), MibValue::Integer(1)}})->errorStatus, 0);
    ASSERT_EQ(Set({{cell(6, 1), MibValue::Integer(4)}})->errorStatus, 0);
    EXPECT_EQ(Get({cell(2, 1)})->errorStatus, 2);
}

TEST_F(CardFixture, AddressSetByHardwareAddressReachesOnlyTheNamedCard) {
    auto byHardware = [](const Mac& mac) {
        std::string value = {10, 1, 2, 3};
        value.append(reinterpret_cast<const char*>(mac.data()), mac.size());
        return Pairs{{AddressOid, MibValue::Text(value)}};
    };
    EXPECT_FALSE(Set(byHardware({0, 1, 2, 3, 4, 5}))) << "another card's set is not answered";
    EXPECT_EQ(card->Address(), (Ipv4{127, 0, 3, 7}));
    std::optional<Answer> answer = Set(byHardware(card->Description().mac));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->errorStatus, 0);
    EXPECT_EQ(card->Address(), (Ipv4{10, 1, 2, 3}));
    EXPECT_EQ(Set({{AddressOid, MibValue::Text("short")}})->errorStatus, 3);
    EXPECT_EQ(Set({{AddressOid, MibValue::Ip({127, 0, 3, 8})}})->errorStatus, 0);
    EXPECT_EQ(card->Address(), (Ipv4{127, 0, 3, 8}));
}

TEST_F(CardFixture, MenuResetAndFactorySettingsRestoreDefaults) {
    const std::string copies = E + ".1.2.5.0";
    ASSERT_EQ(Set({{copies, MibValue::Integer(5)}, {Name, MibValue::Text("Renamed")}})->errorStatus, 0);
    ASSERT_EQ(Set({{E + ".1.4.9.0", MibValue::Integer(1)}})->errorStatus, 0);
    EXPECT_EQ(Get({copies})->bindings[0].second, MibValue::Integer(1));
    EXPECT_EQ(Get({E + ".1.4.9.0"})->bindings[0].second, MibValue::Integer(0)) << "a command reads 0 again";
    EXPECT_EQ(Get({Name})->bindings[0].second, MibValue::Text("Renamed"))
        << "a menu reset keeps the card's own settings";

    ASSERT_EQ(Set({{AddressOid, MibValue::Ip({127, 0, 3, 9})}})->errorStatus, 0);
    ASSERT_EQ(Set({{E + ".12.6.1.8.0", MibValue::Integer(1)}})->errorStatus, 0);
    EXPECT_EQ(Get({Name})->bindings[0].second, MibValue::Text("PS-Lobby"));
    EXPECT_EQ(card->Address(), (Ipv4{127, 0, 3, 9})) << "the card stays where it is";
}

// Every fault switch against the same request: the baseline answers, the switch shows.
TEST_F(CardFixture, EveryFaultSwitchShapesTheAnswer) {
    const std::vector<uint8_t> request = EncodeRequest(kPduSet, 21, {{Name, MibValue::Text("Faulty")}});
    auto outgoing = [&](const FaultSwitches& faults, Protocol protocol = Protocol::Ip) {
        card->Faults(protocol).Set(faults);
        std::optional<Outgoing> out = AnswerRequest(*card, request, UdpPeer());
        card->Faults(protocol).Set({});
        return out;
    };
    std::optional<Outgoing> normal = outgoing({});
    ASSERT_TRUE(normal);
    EXPECT_EQ(normal->delayMs, 0u);
    EXPECT_EQ(DecodeAnswer(normal->bytes)->requestId, 21);

    EXPECT_FALSE(outgoing({.silent = true}));
    EXPECT_TRUE(outgoing({.silent = true}, Protocol::Dlc)) << "faults are per protocol";
    EXPECT_EQ(outgoing({.delayMs = 250})->delayMs, 250u);
    EXPECT_EQ(DecodeAnswer(outgoing({.wrongRequestId = true})->bytes)->requestId, 22);
    card->Faults(Protocol::Ip).Set({.wrongRequestId = true});
    std::optional<Answer> last = Exchange(EncodeRequest(kPduGet, INT32_MAX, {{Name, MibValue::None()}}));
    card->Faults(Protocol::Ip).Set({});
    EXPECT_EQ(last->requestId, INT32_MIN) << "the largest id wraps round";
    EXPECT_FALSE(DecodeAnswer(outgoing({.truncated = true})->bytes));
    EXPECT_FALSE(DecodeAnswer(outgoing({.garbled = true})->bytes));

    ASSERT_EQ(Set({{Name, MibValue::Text("Before")}})->errorStatus, 0);
    std::optional<Answer> refused = DecodeAnswer(outgoing({.errorStatus = 5})->bytes);
    EXPECT_EQ(refused->errorStatus, 5);
    EXPECT_EQ(refused->errorIndex, 1);
    EXPECT_EQ(Get({Name})->bindings[0].second, MibValue::Text("Before"))
        << "a refused request is not carried out";
    refused = DecodeAnswer(outgoing({.setErrorStatus = 5})->bytes);
    EXPECT_EQ(refused->errorStatus, 5);
    EXPECT_EQ(Get({Name})->bindings[0].second, MibValue::Text("Before"))
        << "a refused set is not carried out";
    card->Faults(Protocol::Ip).Set({.setErrorStatus = 5});
    EXPECT_EQ(Get({Name})->errorStatus, 0) << "reads are answered";
    card->Faults(Protocol::Ip).Set({.nextErrorStatus = 5});
    EXPECT_EQ(Get({Name})->errorStatus, 0) << "gets are answered";
    EXPECT_EQ(Set({{Name, MibValue::Text("Walked")}})->errorStatus, 0) << "sets are carried out";
    EXPECT_EQ(Exchange(EncodeRequest(kPduGetNext, 23, {{Name, MibValue::None()}}))->errorStatus, 5);
    card->Faults(Protocol::Ip).Set({});

    card->Faults(Protocol::Ip).Set({.dropPercent = 30});
    int answered = 0;
    for (int i = 0; i < 100; ++i) {
        answered += AnswerRequest(*card, request, UdpPeer()).has_value() ? 1 : 0;
    }
    EXPECT_EQ(answered, 70);
}

TEST(WireBindings, ANumberWithoutItsFourBytesIsNoValue) {
    char oid[] = "1.3.6.1.2.1.1.7.0";
    uint8_t twoBytes[] = {0x48, 0x00};
    for (int32_t type : {kSnmpInteger, kSnmpCounter, kSnmpGauge, kSnmpTimeTicks}) {
        VarBind binding{oid, static_cast<int32_t>(sizeof oid - 1), type, twoBytes, sizeof twoBytes};
        EXPECT_FALSE(FromWire(binding).value.has_value()) << type;
    }
}

}  // namespace
}  // namespace sim::test
