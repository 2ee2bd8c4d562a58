#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The datagrams between the NetWare client and the simulated NetWare network: a request names its call
// in its first field, a reply carries the call's result code. Both come from another process: decoding
// checks every length.
namespace plat {

// The IPX socket the simulated NetWare network answers on.
inline constexpr std::uint16_t kNetWareSocket = 0x0451;
inline constexpr std::size_t kNetWareMaxFields = 64;

struct NetWareMessage {
    bool reply = false;
    std::uint32_t session = 0;  // the client that sent the request
    std::uint32_t id = 0;       // a reply carries its request's id
    std::int32_t code = 0;      // the call's result (replies only)
    std::vector<std::string> fields;
};

// Empty when the message would not fit one IPX datagram or has too many fields.
std::vector<std::uint8_t> EncodeNetWareMessage(const NetWareMessage& message);
std::optional<NetWareMessage> DecodeNetWareMessage(std::span<const std::uint8_t> bytes);

}  // namespace plat
