#include "platform/lan/SpxPacket.h"

#include "platform/lan/BigEndian.h"
#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/LanPort.h"

namespace plat {

namespace {

constexpr std::uint8_t kControlSystem = 0x80;
constexpr std::uint8_t kControlPoll = 0x40;
constexpr std::uint8_t kControlEndOfMessage = 0x10;
constexpr std::uint8_t kStreamData = 0x00;
constexpr std::uint8_t kStreamEnd = 0xFE;
constexpr std::uint8_t kStreamSystemBase = 0xE0;

}  // namespace

std::optional<SpxPacket> DecodeSpxPacket(const IpxPacket& packet) {
    std::span<const std::uint8_t> bytes = packet.data;
    if (packet.type != kIpxPacketTypeSpx || bytes.size() < kSpxHeaderSize ||
        bytes.size() > kSpxHeaderSize + kSpxMaxData) {
        return std::nullopt;
    }
    SpxPacket spx;
    spx.source = packet.source;
    spx.destination = packet.destination;
    std::uint8_t control = bytes[0];
    std::uint8_t stream = bytes[1];
    ReliableLink::Frame& frame = spx.frame;
    if ((control & kControlSystem) != 0) {
        if (stream < kStreamSystemBase ||
            stream > kStreamSystemBase + static_cast<int>(ReliableLink::FrameKind::Reject) ||
            stream == kStreamSystemBase + static_cast<int>(ReliableLink::FrameKind::Data)) {
            return std::nullopt;
        }
        frame.kind = static_cast<ReliableLink::FrameKind>(stream - kStreamSystemBase);
    } else {
        if (stream != kStreamData && stream != kStreamEnd) {
            return std::nullopt;
        }
        frame.kind = ReliableLink::FrameKind::Data;
        frame.end = stream == kStreamEnd;
        frame.data.assign(bytes.begin() + kSpxHeaderSize, bytes.end());
    }
    frame.poll = (control & kControlPoll) != 0;
    spx.sourceConnection = GetBig16(bytes, 2);
    spx.destinationConnection = GetBig16(bytes, 4);
    frame.ns = static_cast<std::uint8_t>(GetBig16(bytes, 6) & 0x7F);
    frame.nr = static_cast<std::uint8_t>(GetBig16(bytes, 8) & 0x7F);
    return spx;
}

void SendSpxPacket(const SpxPacket& packet, const std::string& endpointName) {
    const ReliableLink::Frame& frame = packet.frame;
    bool data = frame.kind == ReliableLink::FrameKind::Data;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kSpxHeaderSize + frame.data.size());
    bytes.push_back(static_cast<std::uint8_t>((data ? kControlEndOfMessage : kControlSystem) |
                                              (frame.poll ? kControlPoll : 0)));
    bytes.push_back(data ? (frame.end ? kStreamEnd : kStreamData)
                         : static_cast<std::uint8_t>(kStreamSystemBase + static_cast<int>(frame.kind)));
    PutBig16(bytes, packet.sourceConnection);
    PutBig16(bytes, packet.destinationConnection);
    PutBig16(bytes, frame.ns);
    PutBig16(bytes, frame.nr);
    PutBig16(bytes, 0);
    if (data) {
        bytes.insert(bytes.end(), frame.data.begin(), frame.data.end());
    }
    IpxPacket ipx{kIpxPacketTypeSpx, packet.destination, packet.source, bytes};
    LanSend(endpointName, EncodeIpxFrame(ipx), LanSendMode::NoWait);
}

}  // namespace plat
