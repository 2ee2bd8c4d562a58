#pragma once

#include <cstdint>
#include <optional>

#include "platform/sock/SocketLibrary.h"

// How the IPX transport addresses: 8 hexadecimal digits of the network followed by 12 of the node
// (characters after the 20th are ignored); senders as 4 bytes of network and 6 of node. Socket numbers
// cross this form in network order.
struct IpxAddressForm {
    using Address = plat::SocketAddressIpx;

    static constexpr int kAddressDigits = 20;
    static constexpr int kSenderBytes = 10;

    static constexpr int kFamily = plat::kAfIpx;
    static constexpr int kProtocol = plat::kNsProtoIpx + 4;  // packet type 4
    static constexpr const char* kWindowClass = "ASYNC_IPX_MSG_HANDLER";
    static constexpr const char* kBroadcastAddress = "00000000FFFFFFFFFFFF";  // network 0, node all ones
    static constexpr std::uint16_t kDefaultPort = 0x900F;
    static constexpr bool kReportsFailedReceives = false;

    // Network 0 and node 0: the local ones.
    static Address Local(std::uint16_t socket);
    // Nothing for a text that does not start with 20 hexadecimal digits.
    static std::optional<Address> Destination(const char* text, std::uint16_t socket);
    static void SenderBytes(const Address& from, std::uint8_t* sender);
    static std::uint16_t Port(const Address& from) { return from.socket; }
};
