#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/lan/LanFrame.h"
#include "platform/lan/ReliableLink.h"

namespace plat {

// An SPX packet: an IPX packet of type 5 whose data starts with a 12-byte header (connection control,
// datastream type, source and destination connection ids, sequence and acknowledge numbers,
// allocation) that carries one frame of a ReliableLink.
inline constexpr std::size_t kSpxHeaderSize = 12;
inline constexpr std::size_t kSpxMaxData = 1024;
inline constexpr std::uint16_t kSpxUnknownConnection = 0xFFFF;

struct SpxPacket {
    IpxAddress source;
    IpxAddress destination;
    std::uint16_t sourceConnection = 0;
    std::uint16_t destinationConnection = 0;
    ReliableLink::Frame frame;
};

std::optional<SpxPacket> DecodeSpxPacket(const IpxPacket& packet);
// Sends the packet to the endpoint of that name.
void SendSpxPacket(const SpxPacket& packet, const std::string& endpointName);

}  // namespace plat
