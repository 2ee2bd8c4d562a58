#include "platform/lan/LanFrame.h"

#include <algorithm>

#include "platform/lan/BigEndian.h"

namespace plat {

namespace {

void PutNode(std::vector<std::uint8_t>& out, const HardwareAddress& node) {
    out.insert(out.end(), node.bytes.begin(), node.bytes.end());
}

void PutIpxAddress(std::vector<std::uint8_t>& out, const IpxAddress& address) {
    PutBig32(out, address.network);
    PutNode(out, address.node);
    PutBig16(out, address.socket);
}

HardwareAddress GetNode(std::span<const std::uint8_t> bytes, std::size_t at) {
    HardwareAddress node;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), 6, node.bytes.begin());
    return node;
}

IpxAddress GetIpxAddress(std::span<const std::uint8_t> bytes, std::size_t at) {
    return IpxAddress{GetBig32(bytes, at), GetNode(bytes, at + 4), GetBig16(bytes, at + 10)};
}

std::vector<std::uint8_t> StartFrame(const HardwareAddress& destination, const HardwareAddress& source,
                                     std::uint16_t typeOrLength) {
    std::vector<std::uint8_t> out;
    out.reserve(kLanMaxFrame);
    PutNode(out, destination);
    PutNode(out, source);
    PutBig16(out, typeOrLength);
    return out;
}

std::optional<IpxPacket> DecodeIpx(std::span<const std::uint8_t> payload) {
    if (payload.size() < kIpxHeaderSize) {
        return std::nullopt;
    }
    std::uint16_t length = GetBig16(payload, 2);
    if (length < kIpxHeaderSize || length > payload.size()) {
        return std::nullopt;
    }
    IpxPacket packet;
    packet.type = payload[5];
    packet.destination = GetIpxAddress(payload, 6);
    packet.source = GetIpxAddress(payload, 18);
    packet.data = payload.subspan(kIpxHeaderSize, length - kIpxHeaderSize);
    return packet;
}

std::optional<LlcFrame> DecodeLlc(std::span<const std::uint8_t> payload) {
    if (payload.size() < 3) {
        return std::nullopt;
    }
    std::size_t controlLength = LlcControlLength(payload[2]);
    if (payload.size() < 2 + controlLength) {
        return std::nullopt;
    }
    LlcFrame frame;
    frame.dsap = payload[0];
    frame.ssap = payload[1];
    std::copy_n(payload.begin() + 2, controlLength, frame.control.begin());
    frame.data = payload.subspan(2 + controlLength);
    return frame;
}

}  // namespace

std::size_t LlcControlLength(std::uint8_t firstControlByte) {
    return (firstControlByte & 0x03) == 0x03 ? 1 : 2;
}

std::vector<std::uint8_t> EncodeIpxFrame(const IpxPacket& packet) {
    std::vector<std::uint8_t> out = StartFrame(packet.destination.node, packet.source.node, kIpxEtherType);
    PutBig16(out, 0xFFFF);  // no checksum
    PutBig16(out, static_cast<std::uint16_t>(kIpxHeaderSize + packet.data.size()));
    out.push_back(0);  // transport control
    out.push_back(packet.type);
    PutIpxAddress(out, packet.destination);
    PutIpxAddress(out, packet.source);
    out.insert(out.end(), packet.data.begin(), packet.data.end());
    return out;
}

std::vector<std::uint8_t> EncodeLlcFrame(const LlcFrame& frame) {
    std::size_t controlLength = LlcControlLength(frame.control[0]);
    auto length = static_cast<std::uint16_t>(2 + controlLength + frame.data.size());
    std::vector<std::uint8_t> out = StartFrame(frame.destination, frame.source, length);
    out.push_back(frame.dsap);
    out.push_back(frame.ssap);
    out.insert(out.end(), frame.control.begin(),
               frame.control.begin() + static_cast<std::ptrdiff_t>(controlLength));
    out.insert(out.end(), frame.data.begin(), frame.data.end());
    return out;
}

std::optional<LanFrame> DecodeLanFrame(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kLanHeaderSize || bytes.size() > kLanMaxFrame) {
        return std::nullopt;
    }
    LanFrame frame;
    std::uint16_t typeOrLength = GetBig16(bytes, 12);
    std::span<const std::uint8_t> payload = bytes.subspan(kLanHeaderSize);
    if (typeOrLength == kIpxEtherType) {
        auto packet = DecodeIpx(payload);
        if (!packet) {
            return std::nullopt;
        }
        frame.kind = LanFrame::Kind::Ipx;
        frame.ipx = *packet;
        return frame;
    }
    if (typeOrLength > payload.size()) {
        return std::nullopt;
    }
    auto llc = DecodeLlc(payload.first(typeOrLength));
    if (!llc) {
        return std::nullopt;
    }
    llc->destination = GetNode(bytes, 0);
    llc->source = GetNode(bytes, 6);
    frame.kind = LanFrame::Kind::Llc;
    frame.llc = *llc;
    return frame;
}

}  // namespace plat
