#pragma once

#include <cstdint>

namespace sim {

// The transports a card can speak, with the bit values of the system's protocol mask.
enum class Protocol : uint8_t { Ipx = 1, Ip = 2, Dlc = 4 };

constexpr uint8_t AllProtocols = 7;

constexpr uint8_t Bit(Protocol protocol) {
    return static_cast<uint8_t>(protocol);
}

}  // namespace sim
