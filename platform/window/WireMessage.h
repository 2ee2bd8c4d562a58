#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace plat {

// A message between processes, as one datagram: a fixed header and the carried text.
struct WireMessage {
    enum class Kind : std::uint8_t { kPost = 1, kSend = 2, kAnswer = 3 };

    Kind kind = Kind::kPost;
    std::uint64_t serial = 0;  // pairs a send with its answer
    Message message;           // for an answer, lParam holds the result
    bool carriesText = false;
    std::string text;
};

// Longer texts are cut to this many bytes.
inline constexpr std::size_t kMaxCarriedText = 65536;
inline constexpr std::size_t kWireHeaderSize = 48;
inline constexpr std::size_t kMaxWireSize = kWireHeaderSize + kMaxCarriedText;

std::vector<std::uint8_t> EncodeWire(const WireMessage& wire);
// None for anything that is not exactly one well-formed message.
std::optional<WireMessage> DecodeWire(const std::uint8_t* data, std::size_t size);

}  // namespace plat
