#pragma once

#include <cstdint>
#include <vector>

// The discovery request: a get of the hardware address of interface 2, the print server's IP address
// and its category. Empty when it cannot be encoded.
std::vector<std::uint8_t> BuildDiscoveryRequest(std::int32_t requestId);

// The IPX service query for print servers: general service query (1) for server type 0x0922, both
// 16-bit big-endian.
inline constexpr std::uint8_t kSapQuery[4] = {0x00, 0x01, 0x09, 0x22};
