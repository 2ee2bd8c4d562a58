// The text side of the library: value texts read into binary items, requests built from texts,
// and answers written back as text into caller buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/request/AnswerFormatter.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "snmp/request/ValueTextReader.h"
#include "snmp/tests/BerBytes.h"

namespace snmp {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Item {
    std::int32_t type;
    Bytes value;
};

// Reads items until the text ends or an item fails; `failed` tells whether one failed.
std::vector<Item> ReadAll(const std::string& text, std::size_t length, bool& failed) {
    auto exact = std::make_unique<char[]>(length);  // nothing readable after the given length
    std::copy(text.begin(), text.begin() + length, exact.get());
    ValueTextReader reader(exact.get(), length);
    std::vector<Item> items;
    ValueItem item;
    failed = false;
    while (!reader.Finished()) {
        if (!reader.ReadItem(item)) {
            failed = true;
            break;
        }
        const auto* bytes = static_cast<const std::uint8_t*>(item.value);
        items.push_back({item.type, bytes != nullptr ? Bytes(bytes, bytes + item.length) : Bytes{}});
        plat::FreeBlock(item.value);
    }
    return items;
}

Bytes Number(std::uint32_t value) {
    Bytes bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

struct ReaderCase {
    std::string text;
    std::vector<Item> items;
};

TEST(ValueTextReader, ReadsEveryInputForm) {
    const ReaderCase cases[] = {
        {"1,25", {{1, Number(25)}}},
        {"1,-7x", {{1, Number(static_cast<std::uint32_t>(-7))}}},
        {"1,", {{1, Number(0)}}},
        {"5,4294967295,6,12,7,-1", {{5, Number(0xFFFFFFFFu)}, {6, Number(12)}, {7, Number(0xFFFFFFFFu)}}},
        {"3,10.1.2.3", {{3, {10, 1, 2, 3}}}},
        {"8,1.3.6.1", {{8, test::Text("1.3.6.1")}}},
        {std::string("2,5,a,b\0c,1,9", 13), {{2, Bytes{'a', ',', 'b', 0, 'c'}}, {1, Number(9)}}},
        {"2,0,,1,4", {{2, {}}, {1, Number(4)}}},
        {"12,xy,1,3", {{2, test::Text("xy")}, {1, Number(3)}}},
        {"10,abcdef", {{2, test::Text("abcdef")}}},
        {"11,a,c", {{2, test::Text("a,c")}}},
        {"15,0123456789", {{2, test::Text("0123456789")}}},
        {"9,1,7", {{9, {}}, {1, Number(7)}}},
        {"4,2,1,x", {{4, {}}, {2, test::Text("x")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bool failed = false;
        const std::vector<Item> items = ReadAll(c.text, c.text.size(), failed);
        EXPECT_FALSE(failed);
        ASSERT_EQ(items.size(), c.items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].type, c.items[i].type) << i;
            EXPECT_EQ(items[i].value, c.items[i].value) << i;
        }
    }
}

TEST(ValueTextReader, RefusesItemsBeyondTheGivenLength) {
    const std::string cases[] = {
        "2,6,abcde",  // one byte more than remains
        "2,abc",      // no count
        "2,-1,x",     // a count that is no count
        "1",          // no comma after the code
        "13,abcde",   // six fixed bytes, five remain
        "2,99999999999999999999,x",
    };
    for (const auto& text : cases) {
        bool failed = false;
        EXPECT_TRUE(ReadAll(text, text.size(), failed).empty()) << text;
        EXPECT_TRUE(failed) << text;
    }
    // The caller's length cuts the text even where the bytes go on.
    bool failed = false;
    EXPECT_EQ(ReadAll("2,5,abcde", 8, failed).size(), 0u);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadAll("1,25,1,26", 4, failed).size(), 1u);
    EXPECT_FALSE(failed);
}

// Builds a request from texts and decodes it back as the agent would.
struct BuiltRequest {
    std::int32_t result = -1;
    std::int32_t requestId = 0;
    std::unique_ptr<ReqParam, void (*)(ReqParam*)> message{nullptr, FreeReqParam};
};

BuiltRequest Build(std::int32_t operation, const std::string& oids, const std::string& values,
                   std::int32_t count) {
    RequestText text;
    text.operation = operation;
    text.oidList = oids.c_str();
    text.oidLength = oids.size() + 1;
    text.values = values.data();
    text.valueSize = values.size();
    text.count = count;
    EncodedRequest encoded;
    BuiltRequest built;
    built.result = EncodeRequest(text, encoded);
    built.requestId = encoded.requestId;
    if (built.result == kSnmpOk) {
        built.message.reset(DecodeMessage(encoded.message, encoded.length, kAcceptRequests));
        EXPECT_NE(built.message, nullptr);
        plat::FreeBlock(encoded.message);
    }
    return built;
}

TEST(RequestEncoder, BuildsAGetWithTheCommunityAndTheNextRequestId) {
    const BuiltRequest first = Build(0, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0", "", 2);
    const BuiltRequest second = Build(1, "1.3.6.1.2.1.1.5.0", "", 1);
    ASSERT_EQ(first.result, kSnmpOk);
    ASSERT_EQ(second.result, kSnmpOk);
    EXPECT_EQ(second.requestId, first.requestId + 1);
    EXPECT_EQ(first.message->RequestId, first.requestId);
    EXPECT_EQ(std::string(first.message->Community), "k!r@o#v$e%t");
    EXPECT_EQ(first.message->PduType, kPduGet);
    EXPECT_EQ(second.message->PduType, kPduGetNext);
    ASSERT_EQ(first.message->BindingCount, 2);
    EXPECT_STREQ(first.message->Bindings[1].Oid, "1.3.6.1.2.1.1.6.0");
    EXPECT_EQ(first.message->Bindings[1].ValueType, kSnmpOctetString);
    EXPECT_EQ(first.message->Bindings[1].ValueLength, 0);
}

TEST(RequestEncoder, BuildsASetFromTheValueText) {
    const BuiltRequest set = Build(2, "1.3.6.1.4.1.1.0,1.3.6.1.4.1.2.0,1.3.6.1.4.1.3.0,1.3.6.1.4.1.4.0",
                                   "9,1,7,12,xy,3,10.0.0.1", 4);
    ASSERT_EQ(set.result, kSnmpOk);
    EXPECT_EQ(set.message->PduType, kPduSet);
    ASSERT_EQ(set.message->BindingCount, 4);
    const VarBind* b = set.message->Bindings;
    EXPECT_EQ(b[0].ValueType, kSnmpNull);
    EXPECT_EQ(b[1].ValueType, kSnmpInteger);
    EXPECT_EQ(*static_cast<std::int32_t*>(b[1].Value), 7);
    EXPECT_EQ(b[2].ValueType, kSnmpOctetString);
    EXPECT_EQ(std::string(static_cast<char*>(b[2].Value), b[2].ValueLength), "xy");
    EXPECT_EQ(b[3].ValueType, kSnmpIpAddress);
    EXPECT_EQ(Bytes(static_cast<std::uint8_t*>(b[3].Value), static_cast<std::uint8_t*>(b[3].Value) + 4),
              (Bytes{10, 0, 0, 1}));
}

TEST(RequestEncoder, FailuresAndTheRequestIdTheyUseUp) {
    struct Case {
        const char* what;
        std::int32_t operation;
        std::string oids;
        std::string values;
        std::int32_t count;
        std::int32_t result;
        bool usesAnId;
    };
    const Case cases[] = {
        {"an unknown operation", 5, "1.3.6.1", "", 1, kSnmpBadCommand, false},
        {"more bindings than identifiers", 0, "1.3.6.1.2.1.1.5.0", "", 2, kSnmpEncodeFailure, true},
        {"a bad identifier", 0, "1.3.6.1.x", "", 1, kSnmpEncodeFailure, true},
        {"more bindings than values", 2, "1.3.6.1,1.3.6.2", "1,5", 2, kSnmpEncodeFailure, true},
        {"a byte count beyond the text", 2, "1.3.6.1", "2,10,abc", 1, kSnmpEncodeFailure, true},
        {"an unknown value code", 2, "1.3.6.1", "99,5", 1, kSnmpEncodeFailure, true},
        {"41 bindings", 0, "1.3.6.1", "", 41, kSnmpBadVarBinds, true},
        {"a negative count", 0, "1.3.6.1", "", -1, kSnmpBadVarBinds, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int32_t before = Build(0, "1.3.6.1", "", 1).requestId;
        EXPECT_EQ(Build(c.operation, c.oids, c.values, c.count).result, c.result);
        const std::int32_t after = Build(0, "1.3.6.1", "", 1).requestId;
        EXPECT_EQ(after - before, c.usesAnId ? 2 : 1);
    }
}

// A decoded answer over bindings that the test owns.
struct AnswerBuilder {
    std::vector<std::string> oids;
    std::vector<Bytes> values;
    std::vector<VarBind> bindings;
    ReqParam record{};

    void Add(const std::string& oid, std::int32_t type, const Bytes& value) {
        oids.push_back(oid);
        values.push_back(value);
        bindings.push_back({nullptr, static_cast<std::int32_t>(oid.size()), type, nullptr,
                            static_cast<std::int32_t>(value.size())});
    }
    const ReqParam& Build() {
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            bindings[i].Oid = oids[i].data();
            bindings[i].Value = values[i].data();
        }
        record.PduType = kPduResponse;
        record.BindingCount = static_cast<std::uint16_t>(bindings.size());
        record.Bindings = bindings.data();
        return record;
    }
};

struct Formatted {
    bool fitted;
    std::string oids;
    std::string values;
    AnswerSizes sizes;
};

// Formats into buffers of exactly the given sizes, prefilled so that what was written shows.
Formatted Format(const ReqParam& answer, std::size_t oidSize, std::size_t valueSize,
                 OctetForm octets = OctetForm::Bytes) {
    auto oids = std::make_unique<char[]>(oidSize);
    auto values = std::make_unique<char[]>(valueSize);
    std::fill(oids.get(), oids.get() + oidSize, '#');
    std::fill(values.get(), values.get() + valueSize, '#');
    Formatted out;
    out.fitted = FormatAnswer(answer, oids.get(), oidSize, values.get(), valueSize, out.sizes, octets);
    out.oids.assign(oids.get(), strnlen(oids.get(), oidSize));
    out.values.assign(values.get(), strnlen(values.get(), valueSize));
    return out;
}

TEST(AnswerFormatter, WritesEveryTypeWithATextForm) {
    AnswerBuilder answer;
    answer.Add("1.3.6.1.2.1.1.1.0", kSnmpInteger, Number(static_cast<std::uint32_t>(-25)));
    answer.Add("1.3.6.1.2.1.1.2.0", kSnmpOctetString, test::Text("a,b"));
    answer.Add("1.3.6.1.2.1.1.3.0", kSnmpIpAddress, {10, 0, 0, 255});
    answer.Add("1.3.6.1.2.1.1.4.0", kSnmpCounter, Number(4294967295u));
    answer.Add("1.3.6.1.2.1.1.5.0", kSnmpGauge, Number(6));
    answer.Add("1.3.6.1.2.1.1.6.0", kSnmpTimeTicks, Number(100));
    answer.Add("1.3.6.1.2.1.1.7.0", kSnmpObjectId, test::Text("1.3.6.1"));
    const Formatted out = Format(answer.Build(), 256, 256);
    ASSERT_TRUE(out.fitted);
    const std::string values = "1,-25,2,3,a,b,3,10.0.0.255,5,4294967295,6,6,7,100,8,1.3.6.1";
    EXPECT_EQ(out.values, values);
    EXPECT_EQ(out.sizes.valueSize, values.size());
    EXPECT_EQ(out.oids.substr(0, 36), "1.3.6.1.2.1.1.1.0,1.3.6.1.2.1.1.2.0,");
    EXPECT_EQ(out.sizes.oidSize, out.oids.size() + 2);
}

// The number of whole items, of texts whose first k items are `prefixes[k]`, that `capacity` bytes
// hold: each needs its comma (the last one's becomes the terminator).
std::size_t ItemsThatFit(const std::vector<std::string>& prefixes, std::size_t capacity) {
    std::size_t items = 0;
    while (items + 1 < prefixes.size() && prefixes[items + 1].size() + 1 <= capacity) {
        ++items;
    }
    return items;
}

// Every buffer size from none to one more than needed, each buffer exactly that large: a text that
// fits is whole; one that does not stops both texts after the same whole item, terminated inside
// their buffers, and the room needed comes back.
TEST(AnswerFormatter, EveryBufferSizeGivesWholeItemsWithinIt) {
    AnswerBuilder answer;
    answer.Add("1.3.6.1.2.1.1.1.0", kSnmpInteger, Number(7));
    answer.Add("1.3.6.1.2.1.1.5.0", kSnmpOctetString, test::Text("a,b"));
    answer.Add("1.3.6.1.2.1.1.3.0", kSnmpIpAddress, {10, 0, 0, 255});
    const ReqParam& record = answer.Build();
    const std::vector<std::string> oids = {"", "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1.0,1.3.6.1.2.1.1.5.0",
                                           "1.3.6.1.2.1.1.1.0,1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.3.0"};
    const std::vector<std::string> bytes = {"", "1,7", "1,7,2,3,a,b", "1,7,2,3,a,b,3,10.0.0.255"};
    const std::vector<std::string> hex = {"", "1,7", "1,7,2,6,612C62", "1,7,2,6,612C62,3,10.0.0.255"};
    constexpr std::size_t kAmple = 256;
    for (OctetForm form : {OctetForm::Bytes, OctetForm::Hex}) {
        const std::vector<std::string>& values = form == OctetForm::Bytes ? bytes : hex;
        const auto check = [&](std::size_t oidSize, std::size_t valueSize) {
            SCOPED_TRACE(::testing::Message() << "identifiers " << oidSize << ", values " << valueSize);
            const std::size_t items = std::min(ItemsThatFit(oids, oidSize), ItemsThatFit(values, valueSize));
            const Formatted out = Format(record, oidSize, valueSize, form);
            EXPECT_EQ(out.fitted, items == 3);
            EXPECT_EQ(out.oids, oidSize != 0 ? oids[items] : "");
            EXPECT_EQ(out.values, valueSize != 0 ? values[items] : "");
            EXPECT_EQ(out.sizes.oidSize, oids[3].size() + 2);
            EXPECT_EQ(out.sizes.valueSize, values[3].size() + (items == 3 ? 0 : 1));
        };
        for (std::size_t size = 0; size <= values[3].size() + 1; ++size) {
            check(kAmple, size);
        }
        for (std::size_t size = 0; size <= oids[3].size() + 1; ++size) {
            check(size, kAmple);
        }
    }
}

TEST(AnswerFormatter, ALongOctetStringIsWrittenWholeWhenTheBufferHoldsIt) {
    AnswerBuilder answer;
    answer.Add("1.3.6.1.2.1.1.5.0", kSnmpOctetString, Bytes(1500, 'z'));
    const Formatted out = Format(answer.Build(), 64, 1600);
    ASSERT_TRUE(out.fitted);
    EXPECT_EQ(out.values, "2,1500," + std::string(1500, 'z'));
}

TEST(AnswerFormatter, WhatDoesNotFitIsNotWrittenAndTheNeededSizesComeBack) {
    AnswerBuilder answer;
    answer.Add("1.3.6.1.2.1.1.5.0", kSnmpOctetString, Bytes(1500, 'z'));
    answer.Add("1.3.6.1.2.1.1.6.0", kSnmpInteger, Number(7));
    const ReqParam& record = answer.Build();

    Formatted out = Format(record, 64, 200);  // values do not fit
    EXPECT_FALSE(out.fitted);
    EXPECT_EQ(out.values, "") << "the value buffer is cleared and nothing partial is left";
    EXPECT_EQ(out.sizes.valueSize, std::string("2,1500,").size() + 1500 + std::string(",1,7").size() + 1);

    out = Format(record, 20, 2000);  // the second identifier does not fit
    EXPECT_FALSE(out.fitted);
    EXPECT_EQ(out.sizes.oidSize, 2 * 18 + 1);
    EXPECT_EQ(out.oids, "1.3.6.1.2.1.1.5.0") << "whole identifiers only, terminated within the buffer";
}

TEST(AnswerFormatter, HexFormWritesOctetStringsAsDigitsAndLeavesOtherItems) {
    AnswerBuilder answer;
    answer.Add("1.3.6.1.2.1.2.2.1.6.2", kSnmpOctetString, {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C});
    answer.Add("1.3.6.1.2.1.1.7.0", kSnmpInteger, Number(25));
    answer.Add("1.3.6.1.2.1.1.5.0", kSnmpOctetString, {});
    answer.Add("1.3.6.1.2.1.1.6.0", kSnmpOctetString, test::Text(",\xFF"));
    const ReqParam& record = answer.Build();
    const std::string hex = "2,12,0040AF0A1B2C,1,25,2,0,,2,4,2CFF";
    Formatted out = Format(record, 256, hex.size() + 1, OctetForm::Hex);
    ASSERT_TRUE(out.fitted);
    EXPECT_EQ(out.values, hex);
    EXPECT_EQ(out.sizes.valueSize, hex.size());

    // The byte form fits where the digits do not: the digits' room comes back.
    EXPECT_TRUE(Format(record, 256, 30).fitted);
    out = Format(record, 256, 30, OctetForm::Hex);
    EXPECT_FALSE(out.fitted);
    EXPECT_EQ(out.sizes.valueSize, hex.size() + 1);
    EXPECT_EQ(out.values, "2,12,0040AF0A1B2C,1,25,2,0,") << "whole items only";
}

TEST(AnswerFormatter, TypesWithoutATextFormFailTheAnswer) {
    for (std::int32_t type : {kSnmpNull, kSnmpOpaque, kSnmpTypeUnknown}) {
        AnswerBuilder answer;
        answer.Add("1.3.6.1.2.1.1.5.0", kSnmpInteger, Number(1));
        answer.Add("1.3.6.1.2.1.1.6.0", type, {});
        EXPECT_FALSE(Format(answer.Build(), 256, 256).fitted) << type;
    }
}

TEST(AnswerFormatter, NoBindingsGiveEmptyTexts) {
    AnswerBuilder answer;
    const Formatted out = Format(answer.Build(), 8, 8);
    EXPECT_TRUE(out.fitted);
    EXPECT_EQ(out.oids, "");
    EXPECT_EQ(out.values, "");
    EXPECT_EQ(out.sizes.valueSize, 0u);
}

}  // namespace
}  // namespace snmp
