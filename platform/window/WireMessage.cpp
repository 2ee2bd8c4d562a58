#include "platform/window/WireMessage.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr std::uint32_t kMagic = 0x564F574D;

// Header layout (host order; both ends are on this machine): magic 0, kind 4, carries text 5,
// window 8, message 12, wParam 16, lParam 24, serial 32, text length 40.
template <typename T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename T>
T Get(const std::uint8_t* data, std::size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

}  // namespace

std::vector<std::uint8_t> EncodeWire(const WireMessage& wire) {
    const std::size_t textLength = wire.carriesText ? std::min(wire.text.size(), kMaxCarriedText) : 0;
    std::vector<std::uint8_t> bytes(kWireHeaderSize + textLength);
    Put(bytes, 0, kMagic);
    Put(bytes, 4, static_cast<std::uint8_t>(wire.kind));
    Put(bytes, 5, static_cast<std::uint8_t>(wire.carriesText));
    Put(bytes, 8, wire.message.window);
    Put(bytes, 12, wire.message.message);
    Put(bytes, 16, static_cast<std::uint64_t>(wire.message.wParam));
    Put(bytes, 24, static_cast<std::int64_t>(wire.message.lParam));
    Put(bytes, 32, wire.serial);
    Put(bytes, 40, static_cast<std::uint32_t>(textLength));
    std::memcpy(bytes.data() + kWireHeaderSize, wire.text.data(), textLength);
    return bytes;
}

std::optional<WireMessage> DecodeWire(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kWireHeaderSize || Get<std::uint32_t>(data, 0) != kMagic) {
        return std::nullopt;
    }
    const auto kind = Get<std::uint8_t>(data, 4);
    const auto carriesText = Get<std::uint8_t>(data, 5);
    const auto textLength = Get<std::uint32_t>(data, 40);
    if (kind < 1 || kind > 3 || carriesText > 1 || textLength > kMaxCarriedText ||
        textLength != size - kWireHeaderSize || (carriesText == 0 && textLength != 0)) {
        return std::nullopt;
    }
    WireMessage wire;
    wire.kind = static_cast<WireMessage::Kind>(kind);
    wire.carriesText = carriesText == 1;
    wire.message.window = Get<std::uint32_t>(data, 8);
    wire.message.message = Get<std::uint32_t>(data, 12);
    wire.message.wParam = static_cast<WParam>(Get<std::uint64_t>(data, 16));
    wire.message.lParam = static_cast<LParam>(Get<std::int64_t>(data, 24));
    wire.serial = Get<std::uint64_t>(data, 32);
    wire.text.assign(reinterpret_cast<const char*>(data + kWireHeaderSize), textLength);
    return wire;
}

}  // namespace plat
