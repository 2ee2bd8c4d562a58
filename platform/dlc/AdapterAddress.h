#pragma once

#include <cstdint>

#include "platform/lan/HardwareAddress.h"

namespace plat {

// The adapter's form of a hardware address: each byte's bits in reversed order (bit 0 becomes
// bit 7). The segment and the rest of the suite use the canonical form.
constexpr std::uint8_t ReverseBitsOf(std::uint8_t byte) {
    std::uint8_t reversed = 0;
    for (int i = 0; i < 8; ++i) {
        reversed = static_cast<std::uint8_t>(reversed << 1 | ((byte >> i) & 1));
    }
    return reversed;
}

inline HardwareAddress FromAdapterForm(const std::uint8_t* bytes) {
    HardwareAddress address;
    for (int i = 0; i < 6; ++i) {
        address.bytes[i] = ReverseBitsOf(bytes[i]);
    }
    return address;
}

inline void ToAdapterForm(const HardwareAddress& address, std::uint8_t* bytes) {
    for (int i = 0; i < 6; ++i) {
        bytes[i] = ReverseBitsOf(address.bytes[i]);
    }
}

}  // namespace plat
