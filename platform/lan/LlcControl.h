#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/lan/LanFrame.h"
#include "platform/lan/ReliableLink.h"

// The 802.2 control field: UI frames, and the frames of a link station as frames of its ReliableLink.
namespace plat {

inline constexpr std::uint8_t kLlcUiControl = 0x03;

// The control field of a link frame, and back (nothing for UI frames, and for values a link does not
// use).
std::array<std::uint8_t, 2> EncodeLlcControl(const ReliableLink::Frame& frame);
std::optional<ReliableLink::Frame> DecodeLlcControl(const LlcFrame& frame);
bool IsUiFrame(const LlcFrame& frame);

}  // namespace plat
