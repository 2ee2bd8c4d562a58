#include "platform/lan/HardwareAddress.h"

#include <algorithm>

#include "platform/text/HexDigit.h"

namespace plat {

bool HardwareAddress::IsBroadcast() const {
    return *this == kBroadcastAddress;
}

bool HardwareAddress::IsZero() const {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string HardwareAddress::Hex() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::optional<HardwareAddress> HardwareAddress::Parse(std::string_view text) {
    if (text.size() != 12) {
        return std::nullopt;
    }
    HardwareAddress address;
    for (std::size_t i = 0; i < 6; ++i) {
        int high = HexDigit(text[2 * i]);
        int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        address.bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return address;
}

}  // namespace plat
