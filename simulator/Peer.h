#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "simulator/Protocol.h"

namespace sim {

// The other end of a datagram. IP: 4 address bytes and the UDP port; IPX: network (4) and node
// (6) and the socket; DLC: the 6-byte station address and the SAP.
struct Peer {
    Protocol protocol = Protocol::Ip;
    std::array<uint8_t, 10> address{};
    uint16_t port = 0;

    bool operator==(const Peer&) const = default;
};

// A datagram a card sends: an answer or a trap.
struct Outgoing {
    Peer to;
    std::vector<uint8_t> bytes;
    uint32_t delayMs = 0;
};

}  // namespace sim
