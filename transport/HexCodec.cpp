#include "transport/HexCodec.h"

#include "platform/text/HexDigit.h"

namespace {
constexpr std::uint8_t kNotADigit = 0xFF;
}

std::uint8_t HexDigitValue(char character) {
    const int value = plat::HexDigit(character);
    return value >= 0 ? static_cast<std::uint8_t>(value) : kNotADigit;
}

char HexDigitChar(std::uint32_t value) {
    const std::uint32_t low = value & 0xFFu;
    if (low >= 16) {
        return static_cast<char>(kNotADigit);
    }
    return "0123456789ABCDEF"[low];
}

bool IsHexText(const char* text, std::size_t digits) {
    if (text == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < digits; ++i) {
        if (HexDigitValue(text[i]) == kNotADigit) {
            return false;  // the terminator is not a digit, so nothing past it is read
        }
    }
    return true;
}

void HexTextToBytes(std::uint8_t* bytes, const char* text, std::size_t count) {
    bool ended = text == nullptr;
    auto next = [&]() -> std::uint8_t {
        if (ended || *text == '\0') {
            ended = true;
            return kNotADigit;
        }
        return HexDigitValue(*text++);
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t high = next();
        const std::uint8_t low = next();
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
}

void BytesToHexText(char* text, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = HexDigitChar(bytes[i] >> 4);
        text[2 * i + 1] = HexDigitChar(bytes[i] & 0x0F);
    }
    text[2 * count] = '\0';
}
