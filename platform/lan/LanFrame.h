#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/lan/HardwareAddress.h"

// Frames on the simulated segment, laid out as on an Ethernet: destination, source, then either the
// IPX type 0x8137 and an IPX packet, or an 802.3 length and an 802.2 LLC frame. Multi-byte fields are
// big-endian. Frames come from other processes: decoding checks every length and rejects what does
// not add up.
namespace plat {

inline constexpr std::size_t kLanHeaderSize = 14;
inline constexpr std::size_t kLanMaxPayload = 1500;
inline constexpr std::size_t kLanMaxFrame = kLanHeaderSize + kLanMaxPayload;
inline constexpr std::uint16_t kIpxEtherType = 0x8137;
inline constexpr std::size_t kIpxHeaderSize = 30;
inline constexpr std::size_t kIpxMaxData = kLanMaxPayload - kIpxHeaderSize;
inline constexpr std::size_t kLlcMaxData = kLanMaxPayload - 4;  // behind DSAP, SSAP and a 2-byte control

struct IpxAddress {
    std::uint32_t network = 0;
    HardwareAddress node;
    std::uint16_t socket = 0;

    friend bool operator==(const IpxAddress&, const IpxAddress&) = default;
};

struct IpxPacket {
    std::uint8_t type = 0;
    IpxAddress destination;
    IpxAddress source;
    std::span<const std::uint8_t> data;  // at most kIpxMaxData bytes
};

struct LlcFrame {
    HardwareAddress destination;
    HardwareAddress source;
    std::uint8_t dsap = 0;
    std::uint8_t ssap = 0;
    std::array<std::uint8_t, 2> control{};  // 1 byte for U-frames, 2 for I- and S-frames
    std::span<const std::uint8_t> data;     // at most kLlcMaxData bytes
};

// Length of the control field that starts with this byte.
std::size_t LlcControlLength(std::uint8_t firstControlByte);

std::vector<std::uint8_t> EncodeIpxFrame(const IpxPacket& packet);
std::vector<std::uint8_t> EncodeLlcFrame(const LlcFrame& frame);

// A decoded frame refers into the bytes it was decoded from.
struct LanFrame {
    enum class Kind { Ipx, Llc };
    Kind kind = Kind::Ipx;
    IpxPacket ipx;
    LlcFrame llc;
};

std::optional<LanFrame> DecodeLanFrame(std::span<const std::uint8_t> bytes);

}  // namespace plat
