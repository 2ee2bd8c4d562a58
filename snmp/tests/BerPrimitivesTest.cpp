// Length, integer and object identifier encodings of the codec's element toolkit.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerWriter.h"
#include "snmp/codec/ObjectIdentifier.h"

namespace snmp {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs one put on a fresh writer and gives the bytes written, or nothing when the put failed.
template <typename Put>
Bytes Written(Put put, std::size_t capacity = 600) {
    Bytes buffer(capacity);
    BerWriter writer(buffer.data(), buffer.size());
    if (!put(writer)) {
        return {};
    }
    return Bytes(writer.Data(), writer.Data() + writer.Size());
}

struct LengthCase {
    std::size_t length;
    Bytes octets;
};

TEST(BerLength, WritesTheFewestOctetsAndReadsThemBack) {
    const LengthCase cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x81, 0x80}},
        {200, {0x81, 0xC8}},
        {300, {0x82, 0x01, 0x2C}},
        {70000, {0x83, 0x01, 0x11, 0x70}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const Bytes octets = Written([&](BerWriter& w) { return w.PutLength(c.length); });
        EXPECT_EQ(octets, c.octets);
        EXPECT_EQ(LengthOctetsSize(c.length), c.octets.size());

        Bytes input = c.octets;
        input.resize(c.octets.size() + c.length);  // the content the length announces
        BerReader reader(input.data(), input.size());
        std::size_t length = 0;
        ASSERT_TRUE(reader.ReadLength(length));
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(reader.Remaining(), c.length);
    }
}

TEST(BerLength, RefusesLengthsThatDoNotHold) {
    const Bytes cases[] = {
        {},                                          // nothing to read
        {0x80},                                      // indefinite form
        {0x85, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00},  // five length bytes
        {0x82, 0x01},                                // long form cut short
        {0x05, 0x00, 0x00, 0x00, 0x00},              // one byte more than remains
        {0x84, 0xFF, 0xFF, 0xFF, 0xFF},              // far beyond the input
    };
    for (const auto& input : cases) {
        BerReader reader(input.data(), input.size());
        std::size_t length = 0;
        EXPECT_FALSE(reader.ReadLength(length)) << ::testing::PrintToString(input);
        EXPECT_EQ(reader.Remaining(), input.size()) << "a failed read leaves the reader where it was";
    }
}

struct IntegerCase {
    std::int32_t value;
    Bytes element;
};

TEST(BerInteger, SignedValuesTakeTheFewestTwosComplementBytes) {
    const IntegerCase cases[] = {
        {0, {0x02, 0x01, 0x00}},
        {1, {0x02, 0x01, 0x01}},
        {127, {0x02, 0x01, 0x7F}},
        {128, {0x02, 0x02, 0x00, 0x80}},
        {-1, {0x02, 0x01, 0xFF}},
        {-128, {0x02, 0x01, 0x80}},
        {-129, {0x02, 0x02, 0xFF, 0x7F}},
        {65535, {0x02, 0x03, 0x00, 0xFF, 0xFF}},
        {INT32_MAX, {0x02, 0x04, 0x7F, 0xFF, 0xFF, 0xFF}},
        {INT32_MIN, {0x02, 0x04, 0x80, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written([&](BerWriter& w) { return w.PutInteger(0x02, c.value); }), c.element) << c.value;
    }
}

TEST(BerInteger, UnsignedValuesGetALeadingZeroWhenTheTopBitIsSet) {
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {0, {0x41, 0x01, 0x00}},
        {127, {0x41, 0x01, 0x7F}},
        {255, {0x41, 0x02, 0x00, 0xFF}},
        {0x80000000u, {0x41, 0x05, 0x00, 0x80, 0x00, 0x00, 0x00}},
        {UINT32_MAX, {0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [value, element] : cases) {
        const std::uint32_t number = value;  // a lambda of clang 14 cannot capture a structured binding
        EXPECT_EQ(Written([&](BerWriter& w) { return w.PutUnsigned(0x41, number); }), element) << value;
    }
}

TEST(BerWriter, RefusesWhatDoesNotFitWithoutWriting) {
    Bytes buffer(3);
    BerWriter writer(buffer.data(), buffer.size());
    EXPECT_FALSE(writer.PutInteger(0x02, 128));  // needs 4 bytes
    EXPECT_EQ(writer.Size(), 0u);
    EXPECT_TRUE(writer.PutInteger(0x02, 5));
    EXPECT_FALSE(writer.PutByte(0x30));
    EXPECT_EQ(writer.Size(), 3u);
}

struct OidCase {
    std::string text;
    Bytes content;
};

// Every one-byte subidentifier, 0 to 127, in one identifier: each has its own text.
OidCase EveryOneByteArc() {
    OidCase c{"1.3", {0x2B}};
    for (std::uint8_t arc = 0; arc < 0x80; ++arc) {
        c.text += "." + std::to_string(arc);
        c.content.push_back(arc);
    }
    return c;
}

const OidCase kOidCases[] = {
    EveryOneByteArc(),
    {"1.3.6.1.2.1.1.5.0", {0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00}},
    {"1.3.6.1.4.1.32473", {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59}},
    {"1.3.127.128.16383.16384", {0x2B, 0x7F, 0x81, 0x00, 0xFF, 0x7F, 0x81, 0x80, 0x00}},
    {"1.3.4294967295", {0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
    {"0.0", {0x00}},
    {"2.39", {0x77}},
    // Prefixes the codec knows by heart: alone, followed by arcs, and look-alikes that are not them.
    {"1.3.6.1.4.1.32473.11.5.1", {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01}},
    {"1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0",
     {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01, 0x0C, 0x06, 0x01, 0x06, 0x00}},
    {"1.3.6.1.4.1.32473.11.5.10.2", {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x0A, 0x02}},
    {"1.3.6.1.2.100.7", {0x2B, 0x06, 0x01, 0x02, 0x64, 0x07}},
    {"1.3.6.1.4.1.23.2.5.1.1.1.3.1",
     {0x2B, 0x06, 0x01, 0x04, 0x01, 0x17, 0x02, 0x05, 0x01, 0x01, 0x01, 0x03, 0x01}},
    // Long arcs behind a known prefix and behind none, where the text's end comes mid-arc.
    {"1.3.6.1.4.1.32473.11.5.1.4294967295.0.99.100",
     {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00,
      0x63, 0x64}},
    {"2.39.4294967295.10", {0x77, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x0A}},
};

TEST(ObjectIdentifier, TextEncodesToContentAndBack) {
    for (const auto& c : kOidCases) {
        SCOPED_TRACE(c.text);
        std::uint8_t content[256];
        std::size_t length = 0;
        ASSERT_TRUE(OidTextToContent(c.text, content, sizeof content, length));
        EXPECT_EQ(Bytes(content, content + length), c.content);

        char text[512];
        std::size_t textLength = 0;
        ASSERT_TRUE(OidContentToText(c.content.data(), c.content.size(), text, sizeof text, textLength));
        EXPECT_EQ(std::string(text, textLength), c.text);
        EXPECT_EQ(text[textLength], '\0');
    }
}

// Every buffer size around the needed one, each buffer exactly that large: the inline paths that
// write a whole arc at once and the careful ones near the end must agree on what fits.
TEST(ObjectIdentifier, EveryBufferSizeIsHeldToExactly) {
    for (const auto& c : kOidCases) {
        SCOPED_TRACE(c.text);
        for (std::size_t size = 0; size <= c.text.size() + 1; ++size) {
            auto text = std::make_unique<char[]>(size);
            std::size_t textLength = 0;
            const bool fits = size > c.text.size();
            ASSERT_EQ(OidContentToText(c.content.data(), c.content.size(), text.get(), size, textLength),
                      fits)
                << size;
            if (fits) {
                EXPECT_EQ(std::string(text.get(), textLength), c.text);
            }
        }
        for (std::size_t capacity = 0; capacity <= c.content.size(); ++capacity) {
            auto content = std::make_unique<std::uint8_t[]>(capacity);
            std::size_t length = 0;
            const bool fits = capacity == c.content.size();
            ASSERT_EQ(OidTextToContent(c.text, content.get(), capacity, length), fits) << capacity;
            if (fits) {
                EXPECT_EQ(Bytes(content.get(), content.get() + length), c.content);
            }
        }
    }
}

TEST(ObjectIdentifier, OneArcStandsForThatArcAndZero) {
    std::uint8_t content[256];
    std::size_t length = 0;
    ASSERT_TRUE(OidTextToContent("1", content, sizeof content, length));
    EXPECT_EQ(Bytes(content, content + length), Bytes{0x28});
}

// Arcs are read from the text's end: zeros in front of a number count for nothing, however many,
// and a number over 32 bits is refused however many zeros stand in front of it.
TEST(ObjectIdentifier, LeadingZerosCountForNothing) {
    struct Case {
        std::string text;
        Bytes content;  // empty: refused
    };
    const Case cases[] = {
        {"1.3.06", {0x2B, 0x06}},
        {"1.3.6.1.2.1.01.05.00", {0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00}},
        {"1.3.0000000000000000000000000001", {0x2B, 0x01}},
        {"1.3.0004294967295", {0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"1.3.0004294967296", {}},
        {"1.3.10000000000000000000", {}},
        {"1.3.100000000000000000000000001", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::uint8_t content[256];
        std::size_t length = 0;
        ASSERT_EQ(OidTextToContent(c.text, content, sizeof content, length), !c.content.empty());
        EXPECT_EQ(Bytes(content, content + length), c.content);
    }
}

TEST(ObjectIdentifier, RefusesBadTexts) {
    const std::string cases[] = {
        "",
        "1.40",
        "3.1",
        "1.3 .6",
        "1.3.6 ",
        "1.3.",
        ".1.3",
        "1..3",
        "1.3.a",
        "1,3",
        "1.3.-1",
        "1.3.4294967296",
        "+1.3.6",
        "1.3.6.1.2.1.1.5.0\n",
        "1.3.6.1.4.1.32473.11.5.1.",
        "1.3.6.1.2.1..5",
        "1.3.6.1.2.1x",
    };
    for (const auto& text : cases) {
        std::uint8_t content[256];
        std::size_t length = 0;
        EXPECT_FALSE(OidTextToContent(text, content, sizeof content, length)) << '"' << text << '"';
    }
}

TEST(ObjectIdentifier, RefusesContentOverItsBuffer) {
    std::string text = "1.3";
    for (int i = 0; i < 100; ++i) {
        text += ".16384";  // three bytes each
    }
    std::uint8_t content[256];
    std::size_t length = 0;
    EXPECT_FALSE(OidTextToContent(text, content, sizeof content, length));
}

TEST(ObjectIdentifier, RefusesBadContent) {
    const Bytes cases[] = {
        {},                                    // empty
        {0x2B, 0x86},                          // last subidentifier unfinished
        {0x2B, 0x90, 0x80, 0x80, 0x80, 0x00},  // over 32 bits
    };
    for (const auto& content : cases) {
        char text[512];
        std::size_t textLength = 0;
        EXPECT_FALSE(OidContentToText(content.data(), content.size(), text, sizeof text, textLength))
            << ::testing::PrintToString(content);
    }
}

TEST(ObjectIdentifier, TextThatDoesNotFitItsBufferFails) {
    const Bytes content = {0x2B, 0x06, 0x01, 0x02};  // "1.3.6.1.2": 9 characters
    char text[10];
    std::size_t textLength = 0;
    EXPECT_TRUE(OidContentToText(content.data(), content.size(), text, 10, textLength));
    EXPECT_FALSE(OidContentToText(content.data(), content.size(), text, 9, textLength));
    EXPECT_FALSE(OidContentToText(content.data(), content.size(), text, 4, textLength));

    const Bytes privateSubtree = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01, 0x07};
    char longer[27];  // "1.3.6.1.4.1.32473.11.5.1.7": 26 characters
    EXPECT_TRUE(OidContentToText(privateSubtree.data(), privateSubtree.size(), longer, 27, textLength));
    EXPECT_FALSE(OidContentToText(privateSubtree.data(), privateSubtree.size(), longer, 26, textLength));
    EXPECT_FALSE(OidContentToText(privateSubtree.data(), privateSubtree.size(), longer, 24, textLength));
}

}  // namespace
}  // namespace snmp
