// Decoding whatever arrives: every truncation and many random mutations of valid messages go
// through every decoder and the answer formatter under the sanitizers, from buffers of exactly
// their size, without a fault; what is accepted stays within the records' limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/request/AnswerFormatter.h"
#include "snmp/request/ValueTextReader.h"
#include "snmp/tests/BerBytes.h"
#include "snmp/traps/TrapCodec.h"

namespace snmp {
namespace {

using test::Binding;
using test::Bytes;
using test::Cat;
using test::SystemOid;
using test::Tlv;

constexpr int kMutationsPerSeed = 50000;

Bytes EveryValueType() {
    return Cat({Binding(SystemOid(1), {0x02, 0x02, 0x04, 0x01}),
                Binding(SystemOid(2), Tlv(0x04, test::Text("a,b"))),
                Binding(SystemOid(3), {0x40, 0x04, 10, 0, 0, 1}), Binding(SystemOid(4), {0x44, 0x01, 0x00}),
                Binding(SystemOid(5), {0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}),
                Binding(SystemOid(6), {0x42, 0x01, 0x05}), Binding(SystemOid(7), {0x43, 0x02, 0x01, 0x00}),
                Binding(SystemOid(8), SystemOid(9)), Binding(SystemOid(9), {0x05, 0x00})});
}

// What a print server answers to detection: identifiers under the private subtree, MIB-II and the
// enterprises, which the decoder takes by their known starts, and a value whose length takes one
// long-form byte (81 C8).
Bytes DetailAnswer() {
    return Cat({Binding(SystemOid(5), Tlv(0x04, test::Text("PRINTSRV-0A1B2C"))),
                Binding(test::PrivateOid({1, 9, 1, 0}), {0x02, 0x02, 0x04, 0x01}),
                Binding(test::PrivateOid({12, 6, 1, 6, 0}), {0x02, 0x01, 0x02}),
                Binding(Tlv(0x06, {0x2B, 6, 1, 2, 1, 2, 2, 1, 6, 2}),
                        Tlv(0x04, {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C})),
                Binding(test::PrivateOid({12, 2, 5, 0}), {0x40, 0x04, 192, 168, 10, 57}),
                Binding(Tlv(0x06, {0x2B, 6, 1, 4, 1, 23, 2, 5, 1, 1, 1, 3, 1}), Tlv(0x04, Bytes(200, 'n')))});
}

const Bytes kSeeds[] = {
    test::Response(EveryValueType()),
    test::Response(Binding(SystemOid(5), Tlv(0x04, Bytes(300, 'x')))),  // long-form lengths
    test::Message(0xA3, EveryValueType()),
    test::Trap(6, {0x01, 0x00, 0x12}, EveryValueType()),
    test::Response(DetailAnswer()),
    // Identifier texts of 509 characters, a mutated arc away from the 511 that a record holds.
    test::Response(Binding(test::LongOid(252, 1), test::LongOid(252, 1))),
};

void CheckBindings(const VarBind* bindings, std::size_t count) {
    ASSERT_LE(count, kMaxBindings);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_NE(bindings[i].Oid, nullptr);
        ASSERT_LE(static_cast<std::size_t>(bindings[i].OidLength), kMaxOidTextLength);
        ASSERT_EQ(std::strlen(bindings[i].Oid), static_cast<std::size_t>(bindings[i].OidLength));
        ASSERT_NE(bindings[i].Value, nullptr);
        ASSERT_GE(bindings[i].ValueLength, 0);
    }
}

// Formats a decoded answer into buffers of exactly the given sizes, so that a write past them is caught.
void FormatInto(const ReqParam& answer, std::size_t oidSize, std::size_t valueSize) {
    auto oids = std::make_unique<char[]>(oidSize);
    auto values = std::make_unique<char[]>(valueSize);
    AnswerSizes sizes;
    if (FormatAnswer(answer, oids.get(), oidSize, values.get(), valueSize, sizes)) {
        ASSERT_LT(sizes.valueSize, valueSize);
        ASSERT_EQ(values[sizes.valueSize], '\0');
    }
}

void DecodeEveryWay(const Bytes& datagram) {
    auto copy = std::make_unique<std::uint8_t[]>(datagram.size());
    std::copy(datagram.begin(), datagram.end(), copy.get());
    for (std::uint32_t accepted : {kAcceptResponse, kAcceptRequests}) {
        if (ReqParam* message = DecodeMessage(copy.get(), datagram.size(), accepted)) {
            EXPECT_LE(message->CommunityLength, kMaxCommunityLength);
            EXPECT_EQ(message->Community[message->CommunityLength], '\0');
            CheckBindings(message->Bindings, message->BindingCount);
            FormatInto(*message, 24, 24);
            FormatInto(*message, 1024, 1024);
            FreeReqParam(message);
        }
    }
    if (TrapParam* trap = DecodeTrap(copy.get(), datagram.size())) {
        EXPECT_LE(trap->CommunityLength, kMaxCommunityLength);
        EXPECT_LE(trap->EnterpriseLength, kMaxOidTextLength);
        CheckBindings(trap->Bindings, trap->BindingCount);
        for (std::size_t i = 0; i < trap->BindingCount; ++i) {
            EXPECT_LE(static_cast<std::size_t>(trap->Bindings[i].ValueLength), kTrapValueBlock);
        }
        FreeTrapParam(trap);
    }
}

Bytes Mutate(Bytes message, std::mt19937& random) {
    static const std::uint8_t kInteresting[] = {0x00, 0x01, 0x04, 0x05, 0x7F, 0x80,
                                                0x81, 0x82, 0x84, 0x85, 0xFF};
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !message.empty(); ++e) {
        const std::size_t at = random() % message.size();
        switch (random() % 4) {
            case 0:
                message[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                message[at] = kInteresting[random() % std::size(kInteresting)];
                break;
            case 2:
                message.erase(message.begin() + at);
                break;
            default:
                message.insert(message.begin() + at, static_cast<std::uint8_t>(random()));
                break;
        }
    }
    return message;
}

TEST(CodecRobustness, SeedsAreValid) {
    // The mutations start from messages that some decoder accepts.
    for (const auto& seed : kSeeds) {
        ReqParam* response = DecodeMessage(seed.data(), seed.size(), kAcceptResponse | kAcceptRequests);
        TrapParam* trap = DecodeTrap(seed.data(), seed.size());
        EXPECT_TRUE(response != nullptr || trap != nullptr);
        FreeReqParam(response);
        FreeTrapParam(trap);
    }
}

TEST(CodecRobustness, EveryTruncationIsRefusedWithoutAFault) {
    for (const auto& seed : kSeeds) {
        for (std::size_t length = 0; length < seed.size(); ++length) {
            const Bytes cut(seed.begin(), seed.begin() + length);
            DecodeEveryWay(cut);
            auto copy = std::make_unique<std::uint8_t[]>(length);
            std::copy(cut.begin(), cut.end(), copy.get());
            EXPECT_EQ(DecodeMessage(copy.get(), length, kAcceptResponse | kAcceptRequests), nullptr)
                << length;
            EXPECT_EQ(DecodeTrap(copy.get(), length), nullptr) << length;
        }
    }
}

TEST(CodecRobustness, RandomMutationsDecodeWithoutAFault) {
    std::mt19937 random(20240611);
    for (const auto& seed : kSeeds) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            DecodeEveryWay(Mutate(seed, random));
        }
    }
}

TEST(CodecRobustness, RandomValueTextsAreReadWithinTheirLength) {
    const std::string seeds[] = {"1,25,2,5,ab,cd,3,10.0.0.1,8,1.3.6,9,4,12,xy,15,0123456789", "2,300,abc",
                                 "7,4294967295,5,-1,6,+3,13,abcdef"};
    static const char kAlphabet[] = "0123456789,,,-.+ab\0";
    std::mt19937 random(7);
    for (const auto& seed : seeds) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            std::string text = seed;
            for (int e = 0; e < 3; ++e) {
                text[random() % text.size()] = kAlphabet[random() % (sizeof kAlphabet)];
            }
            const std::size_t length = random() % (text.size() + 1);
            auto exact = std::make_unique<char[]>(length);  // no terminator after the given length
            std::copy(text.begin(), text.begin() + length, exact.get());
            ValueTextReader reader(exact.get(), length);
            ValueItem item;
            for (int items = 0; !reader.Finished() && reader.ReadItem(item); ++items) {
                plat::FreeBlock(item.value);
                if (item.type == kSnmpOctetString) {
                    ASSERT_LE(item.length, static_cast<std::int32_t>(length));
                }
                ASSERT_LT(items, 64);
            }
        }
    }
}

}  // namespace
}  // namespace snmp
