#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "transport/DlcCommandLayer.h"
#include "transport/DottedAddress.h"
#include "transport/HexCodec.h"

namespace {

// A text in a heap block of exactly its size, so that a read past its terminator is caught.
std::unique_ptr<char[]> ExactText(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto copy = std::make_unique<char[]>(size);
    std::memcpy(copy.get(), text, size);
    return copy;
}

TEST(HexCodec, DigitValues) {
    struct Case {
        char character;
        std::uint8_t value;
    } cases[] = {{'0', 0},    {'9', 9},    {'A', 10},    {'F', 15},   {'a', 10},   {'f', 15},  {'G', 0xFF},
                 {'g', 0xFF}, {' ', 0xFF}, {'\0', 0xFF}, {'/', 0xFF}, {':', 0xFF}, {'@', 0xFF}};
    for (const Case& c : cases) {
        EXPECT_EQ(HexDigitValue(c.character), c.value) << "character " << int(c.character);
    }
}

TEST(HexCodec, DigitCharsUseOnlyTheLowByte) {
    EXPECT_EQ(HexDigitChar(0), '0');
    EXPECT_EQ(HexDigitChar(9), '9');
    EXPECT_EQ(HexDigitChar(10), 'A');
    EXPECT_EQ(HexDigitChar(15), 'F');
    EXPECT_EQ(static_cast<unsigned char>(HexDigitChar(16)), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(HexDigitChar(255)), 0xFF);
    EXPECT_EQ(HexDigitChar(0x10A), 'A');
}

TEST(HexCodec, TextToBytes) {
    struct Case {
        const char* text;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"0a1B", {0x0A, 0x1B}},
        {"0G", {0xFF}},  // an invalid digit counts as 0xFF and the byte wraps
        {"00A0B1C2D3E4", {0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4}},
        {"FFff", {0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(c.bytes.size(), 0x55);
        HexTextToBytes(bytes.data(), c.text, bytes.size());
        EXPECT_EQ(bytes, c.bytes) << c.text;
    }
}

TEST(HexCodec, TextToBytesWritesExactlyCountBytes) {
    std::uint8_t bytes[3] = {0x55, 0x55, 0x55};
    HexTextToBytes(bytes, "1234", 1);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0x55);
}

TEST(HexCodec, ShortTextIsNeverReadPastItsEnd) {
    auto text = ExactText("A");
    std::uint8_t bytes[6] = {};
    HexTextToBytes(bytes, text.get(), sizeof bytes);  // ASan reports a read past the block
    EXPECT_EQ(bytes[0], static_cast<std::uint8_t>(10 * 16 + 0xFF));
    EXPECT_EQ(bytes[5], static_cast<std::uint8_t>(0xFF * 16 + 0xFF));
}

TEST(HexCodec, BytesToText) {
    const std::uint8_t bytes[] = {0x00, 0x1F, 0xA0};
    char text[8];
    std::memset(text, 'x', sizeof text);
    BytesToHexText(text, bytes, 3);
    EXPECT_STREQ(text, "001FA0");
    EXPECT_EQ(text[7], 'x');
}

TEST(HexCodec, IsHexTextChecksDigitsWithoutReadingPastTheEnd) {
    struct Case {
        const char* text;
        std::size_t digits;
        bool expected;
    } cases[] = {
        {"0000F0123456", 12, true},
        {"0000f0123456", 12, true},
        {"0000F012345", 12, false},
        {"0000F01234 6", 12, false},
        {"0000F0123456789", 12, true},
        {"", 0, true},
        {"", 1, false},
        {"0000000100A0B1C2D3E4", 20, true},
        {"0000000100A0B1C2D3E", 20, false},
    };
    for (const Case& c : cases) {
        auto text = ExactText(c.text);
        EXPECT_EQ(IsHexText(text.get(), c.digits), c.expected) << '"' << c.text << "\" " << c.digits;
    }
    EXPECT_FALSE(IsHexText(nullptr, 1));
}

TEST(BitOrder, HardwareAddressesGoToTheAdapterWithEachByteReversed) {
    std::uint8_t address[] = {0x00, 0x00, 0xF0, 0x12, 0x34, 0x56};
    ReverseBitsInBuffer(address, sizeof address);
    const std::uint8_t onWire[] = {0x00, 0x00, 0x0F, 0x48, 0x2C, 0x6A};
    EXPECT_EQ(0, std::memcmp(address, onWire, sizeof onWire));
    ReverseBitsInBuffer(address, sizeof address);
    const std::uint8_t canonical[] = {0x00, 0x00, 0xF0, 0x12, 0x34, 0x56};
    EXPECT_EQ(0, std::memcmp(address, canonical, sizeof canonical));
    EXPECT_EQ(ReverseBits(0x01), 0x80);
    EXPECT_EQ(ReverseBits(0xFF), 0xFF);
}

TEST(DottedAddress, OnlyFourDecimalNumbersAreAnAddress) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> expected;  // network order
    } cases[] = {
        {"127.0.0.1", htonl(0x7F000001)},
        {"255.255.255.255", 0xFFFFFFFFu},
        {"0.0.0.0", 0u},
        {"10.1.2.3", htonl(0x0A010203)},
        {"", std::nullopt},
        {"256.1.1.1", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"printer", std::nullopt},
        {" 1.2.3.4", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDottedAddress(c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(ParseDottedAddress(nullptr), std::nullopt);
}

}  // namespace
