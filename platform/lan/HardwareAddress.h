#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// A station's 6-byte hardware address in canonical bit order.
struct HardwareAddress {
    std::array<std::uint8_t, 6> bytes{};

    bool IsBroadcast() const;
    bool IsZero() const;
    // 12 upper-case hexadecimal digits, no separators.
    std::string Hex() const;
    // Exactly 12 hexadecimal digits (either case); anything else gives nothing.
    static std::optional<HardwareAddress> Parse(std::string_view text);

    friend bool operator==(const HardwareAddress&, const HardwareAddress&) = default;
    friend auto operator<=>(const HardwareAddress&, const HardwareAddress&) = default;
};

inline constexpr HardwareAddress kBroadcastAddress{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};

}  // namespace plat
