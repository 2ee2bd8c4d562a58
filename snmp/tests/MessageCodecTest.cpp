// Encoding and decoding of whole SNMPv1 messages: the wire vectors, the refusals and round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/tests/BerBytes.h"

namespace snmp {
namespace {

using test::Binding;
using test::Bytes;
using test::Cat;
using test::LongOid;
using test::Response;
using test::SystemOid;
using test::Tlv;

struct DecodedDeleter {
    void operator()(ReqParam* message) const { FreeReqParam(message); }
};
using Decoded = std::unique_ptr<ReqParam, DecodedDeleter>;

// Decodes from a heap copy of exactly the message's size, so that any read past it is caught.
Decoded Decode(const Bytes& message, std::uint32_t accepted = kAcceptResponse) {
    auto copy = std::make_unique<std::uint8_t[]>(message.size());
    std::copy(message.begin(), message.end(), copy.get());
    return Decoded(DecodeMessage(copy.get(), message.size(), accepted));
}

// A request record over texts and values that the test owns.
struct RecordBuilder {
    std::string community = "public";
    std::vector<std::string> oids;
    std::vector<VarBind> bindings;
    ReqParam record{};

    VarBind& Add(const std::string& oid, std::int32_t type = 0, void* value = nullptr,
                 std::int32_t length = 0) {
        oids.push_back(oid);
        bindings.push_back(VarBind{nullptr, static_cast<std::int32_t>(oid.size()), type, value, length});
        return bindings.back();
    }
    const ReqParam& Build(std::int32_t pduType, std::int32_t requestId = 1) {
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            bindings[i].Oid = oids[i].data();
        }
        record = ReqParam{community.data(),
                          static_cast<std::uint16_t>(community.size()),
                          pduType,
                          requestId,
                          0,
                          0,
                          static_cast<std::uint16_t>(bindings.size()),
                          bindings.data()};
        return record;
    }
};

Bytes Encode(const ReqParam& record, EncodeStatus expected = kEncodeOk, std::size_t capacity = 2048) {
    auto buffer = std::make_unique<std::uint8_t[]>(capacity);
    std::size_t written = 0;
    EXPECT_EQ(EncodeMessage(record, buffer.get(), capacity, written), expected);
    return expected == kEncodeOk ? Bytes(buffer.get(), buffer.get() + written) : Bytes{};
}

TEST(MessageEncoder, GetRequestForSysNameIsTheFortyByteMessage) {
    RecordBuilder builder;
    builder.Add("1.3.6.1.2.1.1.5.0");
    const Bytes expected = {0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 'p',  'u',  'b',
                            'l',  'i',  'c',  0xA0, 0x19, 0x02, 0x01, 0x01, 0x02, 0x01,
                            0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C, 0x06, 0x08,
                            0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00, 0x04, 0x00};
    EXPECT_EQ(Encode(builder.Build(kPduGet)), expected);

    // Every smaller buffer is refused; the exact one is enough.
    for (std::size_t capacity = 0; capacity < expected.size(); ++capacity) {
        Encode(builder.record, kEncodeCannotWrite, capacity);
    }
    EXPECT_EQ(Encode(builder.record, kEncodeOk, expected.size()), expected);
}

TEST(MessageEncoder, RequestIdsAndPduTags) {
    struct Case {
        std::int32_t pduType;
        std::int32_t requestId;
        Bytes pduStart;  // PDU tag, its length, the request id element
    };
    const Case cases[] = {
        {kPduGet, 128, {0xA0, 0x1A, 0x02, 0x02, 0x00, 0x80}},
        {kPduGetNext, -1, {0xA1, 0x19, 0x02, 0x01, 0xFF}},
        {kPduGet, -129, {0xA0, 0x1A, 0x02, 0x02, 0xFF, 0x7F}},
    };
    for (const auto& c : cases) {
        RecordBuilder builder;
        builder.Add("1.3.6.1.2.1.1.5.0");
        const Bytes message = Encode(builder.Build(c.pduType, c.requestId));
        ASSERT_GT(message.size(), 13 + c.pduStart.size());
        EXPECT_EQ(Bytes(message.begin() + 13, message.begin() + 13 + c.pduStart.size()), c.pduStart)
            << c.requestId;
    }
}

TEST(MessageEncoder, GetAndGetNextSendAnEmptyOctetStringForEveryValue) {
    std::int32_t number = 42;
    for (std::int32_t type : {kPduGet, kPduGetNext}) {
        RecordBuilder builder;
        builder.Add("1.3.6.1.2.1.1.5.0", kSnmpInteger, &number, 4);
        const Bytes message = Encode(builder.Build(type));
        EXPECT_EQ(Bytes(message.end() - 2, message.end()), (Bytes{0x04, 0x00}));
    }
}

TEST(MessageEncoder, RefusesWhatCannotBeEncoded) {
    std::int32_t number = 7;
    std::string longBytes(257, 'x');
    std::string fitting(256, 'x');
    struct Case {
        const char* what;
        std::string oid;
        std::int32_t type;
        void* value;
        std::int32_t length;
        EncodeStatus expected;
    };
    const Case cases[] = {
        {"second arc of 40", "1.40.1", kSnmpInteger, &number, 4, kEncodeCannotWrite},
        {"a blank in the text", "1.3.6.1 .2", kSnmpInteger, &number, 4, kEncodeCannotWrite},
        {"an empty identifier", "", kSnmpInteger, &number, 4, kEncodeCannotWrite},
        {"an unknown value type", "1.3.6.1", 0, &number, 4, kEncodeCannotWrite},
        {"an integer without its 4 bytes", "1.3.6.1", kSnmpInteger, &number, 2, kEncodeCannotWrite},
        {"an integer without value", "1.3.6.1", kSnmpInteger, nullptr, 0, kEncodeCannotWrite},
        {"an octet string of 257 bytes", "1.3.6.1", kSnmpOctetString, longBytes.data(), 257,
         kEncodeCannotWrite},
        {"an octet string of 256 bytes", "1.3.6.1", kSnmpOctetString, fitting.data(), 256, kEncodeOk},
        {"an identifier value that is no identifier", "1.3.6.1", kSnmpObjectId, fitting.data(), 3,
         kEncodeCannotWrite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordBuilder builder;
        builder.Add(c.oid, c.type, c.value, c.length);
        Encode(builder.Build(kPduSet), c.expected);
    }
}

TEST(MessageEncoder, RefusesAnOverlongCommunityAndAnUnknownPduType) {
    RecordBuilder builder;
    builder.Add("1.3.6.1.2.1.1.5.0");
    builder.community.assign(257, 'c');
    Encode(builder.Build(kPduGet), kEncodeCannotWrite);
    builder.community = "public";
    Encode(builder.Build(7), kEncodeCannotBuild);
}

TEST(MessageDecoder, ReadsAGetResponse) {
    const Bytes message = Response(Cat({Binding(SystemOid(5), Tlv(0x04, test::Text("printer-7"))),
                                        Binding(SystemOid(3), {0x43, 0x03, 0x01, 0x00, 0x00})}));
    Decoded decoded = Decode(message);
    ASSERT_NE(decoded, nullptr);
    EXPECT_STREQ(decoded->Community, "public");
    EXPECT_EQ(decoded->CommunityLength, 6);
    EXPECT_EQ(decoded->PduType, kPduResponse);
    EXPECT_EQ(decoded->RequestId, 1);
    EXPECT_EQ(decoded->ErrorStatus, 0);
    ASSERT_EQ(decoded->BindingCount, 2);
    EXPECT_STREQ(decoded->Bindings[0].Oid, "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(decoded->Bindings[0].OidLength, 17);
    EXPECT_EQ(decoded->Bindings[0].ValueType, kSnmpOctetString);
    ASSERT_EQ(decoded->Bindings[0].ValueLength, 9);
    EXPECT_EQ(std::memcmp(decoded->Bindings[0].Value, "printer-7", 9), 0);
    EXPECT_EQ(decoded->Bindings[1].ValueType, kSnmpTimeTicks);
    EXPECT_EQ(*static_cast<std::uint32_t*>(decoded->Bindings[1].Value), 65536u);
}

struct ValueCase {
    const char* what;
    Bytes element;
    std::int32_t type;
    std::uint32_t number;
};

TEST(MessageDecoder, ReadsNumbersWithTheirSign) {
    const ValueCase cases[] = {
        {"INTEGER -1", {0x02, 0x01, 0xFF}, kSnmpInteger, 0xFFFFFFFFu},
        {"INTEGER 128", {0x02, 0x02, 0x00, 0x80}, kSnmpInteger, 128},
        {"INTEGER of five bytes", {0x02, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFE}, kSnmpInteger, 0xFFFFFFFEu},
        {"Counter 4294967295", {0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, kSnmpCounter, 0xFFFFFFFFu},
        {"Gauge 255", {0x42, 0x01, 0xFF}, kSnmpGauge, 255},
        {"TimeTicks 0", {0x43, 0x01, 0x00}, kSnmpTimeTicks, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Decoded decoded = Decode(Response(Binding(SystemOid(1), c.element)));
        ASSERT_NE(decoded, nullptr);
        ASSERT_EQ(decoded->BindingCount, 1);
        EXPECT_EQ(decoded->Bindings[0].ValueType, c.type);
        ASSERT_EQ(decoded->Bindings[0].ValueLength, 4);
        EXPECT_EQ(*static_cast<std::uint32_t*>(decoded->Bindings[0].Value), c.number);
    }
}

TEST(MessageDecoder, AcceptsWhatStaysWithinTheLimits) {
    Bytes forty;
    for (int i = 0; i < 40; ++i) {
        forty = Cat({forty, Binding(SystemOid(1), {0x05, 0x00})});
    }
    Decoded decoded = Decode(Response(forty));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->BindingCount, 40);

    decoded = Decode(Response({}));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->BindingCount, 0);

    decoded = Decode(test::Message(0xA2, {}, 0, std::string(255, 'c')));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->CommunityLength, 255);

    // A context-specific value is kept as raw bytes of type 0.
    decoded = Decode(Response(Binding(SystemOid(1), {0x80, 0x00})));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->Bindings[0].ValueType, kSnmpTypeUnknown);
    EXPECT_EQ(decoded->Bindings[0].ValueLength, 0);
}

TEST(MessageDecoder, ObjectIdentifierTextsUpTo511Characters) {
    // 1.3 + 253 x ".1" + ".1" is 511 characters; with a last arc of 10 it is 512.
    Decoded decoded = Decode(Response(Binding(LongOid(253, 1), {0x05, 0x00})));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->Bindings[0].OidLength, 511);
    EXPECT_EQ(Decode(Response(Binding(LongOid(253, 10), {0x05, 0x00}))), nullptr);
    EXPECT_EQ(Decode(Response(Binding(SystemOid(1), LongOid(253, 10)))), nullptr);
}

// An identifier's text is written straight into a block sized from its content: texts as long as
// their content can give (three digits for every one-byte subidentifier, the largest numbers of two
// and five bytes) come back whole, and the test build's sanitizer sees any byte past the block.
TEST(MessageDecoder, IdentifierTextsAsLongAsTheirContentAllows) {
    struct Case {
        Bytes content;
        std::string text;  // empty: refused
    };
    std::string hundredArcs = "2.47";  // 100 bytes of 0x7F: four characters each, the block exactly full
    for (int i = 1; i < 100; ++i) {
        hundredArcs += ".127";
    }
    const Case cases[] = {
        {Bytes(100, 0x7F), hundredArcs},
        {{0xFF, 0x7F, 0xFF, 0x7F}, "2.16303.16383"},
        {{0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, "2.4294967215.4294967295"},
        {Bytes(128, 0x7F), ""},  // 512 characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Decoded decoded = Decode(Response(Binding(Tlv(0x06, c.content), {0x05, 0x00})));
        if (c.text.empty()) {
            EXPECT_EQ(decoded, nullptr);
            continue;
        }
        ASSERT_NE(decoded, nullptr);
        const VarBind& binding = decoded->Bindings[0];
        EXPECT_EQ(std::string(binding.Oid, binding.OidLength), c.text);
        EXPECT_EQ(binding.Oid[binding.OidLength], '\0');
    }
}

TEST(MessageDecoder, RefusesWhatBreaksTheRules) {
    const Bytes sysName = Binding(SystemOid(5), Tlv(0x04, test::Text("x")));
    Bytes fortyOne;
    for (int i = 0; i < 41; ++i) {
        fortyOne = Cat({fortyOne, Binding(SystemOid(1), {0x05, 0x00})});
    }
    Bytes longerOuter = Response(sysName);
    longerOuter[1] += 1;
    Bytes extraByte = Response(sysName);
    extraByte.push_back(0x00);

    struct Case {
        const char* what;
        Bytes message;
    };
    const Case cases[] = {
        {"error status 6", Response(sysName, 6)},
        {"a BIT STRING value", Response(Binding(SystemOid(1), {0x03, 0x02, 0x00, 0xFF}))},
        {"an outer length one byte longer than the data", longerOuter},
        {"a byte after the message", extraByte},
        {"a get request", test::Message(0xA0, sysName)},
        {"a trap", test::Trap(6, {18}, {})},
        {"version 2c",
         Tlv(0x30, Cat({{0x02, 0x01, 0x01},
                        Tlv(0x04, test::Text("public")),
                        Tlv(0xA2, {0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x00})}))},
        {"41 bindings", Response(fortyOne)},
        {"a community of 256 bytes", test::Message(0xA2, {}, 0, std::string(256, 'c'))},
        {"an integer of length 0", Response(Binding(SystemOid(1), {0x02, 0x00}))},
        {"an integer of length 6", Response(Binding(SystemOid(1), {0x02, 0x06, 0, 0, 0, 0, 0, 1}))},
        {"an integer with a long-form length", Response(Binding(SystemOid(1), {0x02, 0x81, 0x01, 0x05}))},
        {"a counter of length 0", Response(Binding(SystemOid(1), {0x41, 0x00}))},
        {"an octet string longer than the input", Response(Binding(SystemOid(1), {0x04, 0x7F, 'a'}))},
        {"an octet string with five length bytes",
         Response(Binding(SystemOid(1), {0x04, 0x85, 0, 0, 0, 0, 1, 'a'}))},
        {"a NULL with content", Response(Binding(SystemOid(1), {0x05, 0x01, 0x00}))},
        {"an IpAddress of 5 bytes", Response(Binding(SystemOid(1), {0x40, 0x05, 1, 2, 3, 4, 5}))},
        {"an IpAddress cut short", Response(Binding(SystemOid(1), {0x40, 0x04, 1, 2, 3}))},
        {"a constructed value", Response(Binding(SystemOid(1), Tlv(0x30, {0x05, 0x00})))},
        {"an application tag above 4", Response(Binding(SystemOid(1), {0x45, 0x01, 0x00}))},
        {"a multi-byte tag", Response(Binding(SystemOid(1), {0x9F, 0x81, 0x00, 0x00}))},
        {"a binding with a byte after its value",
         Response(Tlv(0x30, Cat({SystemOid(1), {0x05, 0x00, 0x00}})))},
        {"a binding without a value", Response(Tlv(0x30, SystemOid(1)))},
        {"a binding whose identifier is not one", Response(Binding({0x04, 0x01, 0x2B}, {0x05, 0x00}))},
        {"an unfinished identifier", Response(Binding({0x06, 0x02, 0x2B, 0x86}, {0x05, 0x00}))},
        {"an empty identifier", Response(Binding({0x06, 0x00}, {0x05, 0x00}))},
        {"no message at all", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.message), nullptr) << c.what;
    }
}

TEST(MessageDecoder, TakesOnlyThePduTypesAsked) {
    const Bytes sysName = Binding(SystemOid(5), {0x05, 0x00});
    for (std::uint8_t tag : {0xA0, 0xA1, 0xA3}) {
        EXPECT_NE(Decode(test::Message(tag, sysName), kAcceptRequests), nullptr) << int(tag);
        EXPECT_EQ(Decode(test::Message(tag, sysName), kAcceptResponse), nullptr) << int(tag);
    }
    EXPECT_EQ(Decode(test::Message(0xA2, sysName), kAcceptRequests), nullptr);
    EXPECT_EQ(Decode(test::Message(0xA4, sysName), kAcceptRequests | kAcceptResponse), nullptr);
}

// Every value type leaves the encoder of a response and comes back from the decoder unchanged.
TEST(MessageRoundTrip, EveryValueTypeSurvives) {
    std::int32_t integers[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    std::uint32_t unsignedValues[] = {0, 127, 128, 0x80000000u, UINT32_MAX};
    std::string binary("\x00\x01,\xFF\x00", 5);
    std::string empty;
    std::string full(256, '\xA5');
    std::uint8_t address[] = {192, 168, 0, 255};
    std::string oidValue = "1.3.6.1.4.1.32473.11.5.1.12.2.5.0";

    RecordBuilder builder;
    for (auto& value : integers) {
        builder.Add("1.3.6.1.2.1.1.1.0", kSnmpInteger, &value, 4);
    }
    for (std::int32_t type : {kSnmpCounter, kSnmpGauge, kSnmpTimeTicks}) {
        for (auto& value : unsignedValues) {
            builder.Add("1.3.6.1.2.1.1.3.0", type, &value, 4);
        }
    }
    for (std::string* text : {&binary, &empty, &full}) {
        builder.Add("1.3.6.1.2.1.1.5.0", kSnmpOctetString, text->data(),
                    static_cast<std::int32_t>(text->size()));
        builder.Add("1.3.6.1.2.1.1.5.0", kSnmpOpaque, text->data(), static_cast<std::int32_t>(text->size()));
    }
    builder.Add("1.3.6.1.4.1.32473.11.5.1.12.2.5.0", kSnmpIpAddress, address, 4);
    builder.Add("1.3.6.1.2.1.1.2.0", kSnmpObjectId, oidValue.data(),
                static_cast<std::int32_t>(oidValue.size()));
    builder.Add("0.0", kSnmpNull);
    ASSERT_LE(builder.bindings.size(), kMaxBindings);

    const ReqParam& original = builder.Build(kPduResponse, 0x7FFFFFFF);
    Decoded decoded = Decode(Encode(original));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->RequestId, 0x7FFFFFFF);
    ASSERT_EQ(decoded->BindingCount, original.BindingCount);
    for (std::size_t i = 0; i < original.BindingCount; ++i) {
        const VarBind& sent = original.Bindings[i];
        const VarBind& got = decoded->Bindings[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(std::string(got.Oid, got.OidLength), std::string(sent.Oid, sent.OidLength));
        EXPECT_EQ(got.ValueType, sent.ValueType);
        ASSERT_EQ(got.ValueLength, sent.ValueLength);
        ASSERT_NE(got.Value, nullptr);
        if (sent.ValueLength != 0) {
            EXPECT_EQ(std::memcmp(got.Value, sent.Value, sent.ValueLength), 0);
        }
    }
}

TEST(MessageRoundTrip, ErrorStatusAndIndexOfAResponse) {
    // An index from 128 on is encoded in more than one byte.
    const std::pair<std::uint8_t, std::uint16_t> cases[] = {
        {2, 1}, {5, 127}, {1, 128}, {3, 40000}, {4, 65535}};
    for (const auto& [status, index] : cases) {
        RecordBuilder builder;
        builder.Add("1.3.6.1.2.1.1.5.0", kSnmpNull);
        ReqParam record = builder.Build(kPduResponse);
        record.ErrorStatus = status;
        record.ErrorIndex = index;
        Decoded decoded = Decode(Encode(record));
        ASSERT_NE(decoded, nullptr) << index;
        EXPECT_EQ(decoded->ErrorStatus, status);
        EXPECT_EQ(decoded->ErrorIndex, index);
    }
}

// Error status and index as other encoders write them: any INTEGER form within their range.
TEST(MessageDecoder, ErrorStatusAndIndexAreIntegersWithinTheirRange) {
    auto response = [](const Bytes& status, const Bytes& index) {
        const Bytes pdu = Tlv(0xA2, Cat({{0x02, 0x01, 0x01}, status, index, Tlv(0x30, {})}));
        return Tlv(0x30, Cat({{0x02, 0x01, 0x00}, Tlv(0x04, test::Text("public")), pdu}));
    };
    struct Case {
        Bytes status;
        Bytes index;
        int decodedStatus;  // -1: refused
        int decodedIndex;
    };
    const Case cases[] = {
        {{0x02, 0x02, 0x00, 0x05}, {0x02, 0x02, 0x00, 0xC8}, 5, 200},
        {{0x02, 0x01, 0x00}, {0x02, 0x03, 0x00, 0xFF, 0xFF}, 0, 65535},
        {{0x02, 0x01, 0xFF}, {0x02, 0x01, 0x00}, -1, 0},              // status -1
        {{0x02, 0x01, 0x06}, {0x02, 0x01, 0x00}, -1, 0},              // status 6
        {{0x02, 0x01, 0x00}, {0x02, 0x01, 0x80}, -1, 0},              // index -128
        {{0x02, 0x01, 0x00}, {0x02, 0x03, 0x01, 0x00, 0x00}, -1, 0},  // index 65536
        {{0x02, 0x00}, {0x02, 0x01, 0x00}, -1, 0},                    // status without content
        {{0x04, 0x01, 0x00}, {0x02, 0x01, 0x00}, -1, 0},              // status not an INTEGER
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(Cat({c.status, c.index})));
        Decoded decoded = Decode(response(c.status, c.index));
        if (c.decodedStatus < 0) {
            EXPECT_EQ(decoded, nullptr);
            continue;
        }
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(decoded->ErrorStatus, c.decodedStatus);
        EXPECT_EQ(decoded->ErrorIndex, c.decodedIndex);
    }
}

}  // namespace
}  // namespace snmp
