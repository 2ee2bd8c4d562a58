#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace sim {

// What can still be read of a request that the codec refused: the version and community of the
// message frame and, when the PDU is a well-formed request, its type, id and number of bindings.
// It tells a message of another SNMP version, and a request with more bindings than the codec takes,
// from a datagram that is no SNMP message at all.
struct RequestOutline {
    uint32_t version = 0;
    std::string_view community;  // points into the datagram
    std::optional<int32_t> pduType;
    int32_t requestId = 0;
    size_t bindingCount = 0;
};

// Nullopt when not even the frame (sequence, version, community) can be read.
std::optional<RequestOutline> OutlineRequest(std::span<const uint8_t> datagram);

}  // namespace sim
