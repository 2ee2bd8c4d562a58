#pragma once

#include <cstdint>
#include <optional>

#include "platform/sock/SocketLibrary.h"

// How the UDP transport addresses: dotted IPv4 texts; senders as their 4 address bytes in network
// order. Ports cross this form in network order.
struct InetAddressForm {
    using Address = plat::SocketAddressIn;

    static constexpr int kFamily = plat::kAfInet;
    static constexpr int kProtocol = plat::kIpProtoUdp;
    static constexpr const char* kWindowClass = "ASYNC_MSG_HANDLER";
    static constexpr const char* kBroadcastAddress = "255.255.255.255";
    static constexpr std::uint16_t kDefaultPort = 161;
    static constexpr bool kReportsFailedReceives = true;

    // Any local address.
    static Address Local(std::uint16_t port);
    // Nothing for a text that is not a dotted IPv4 address, and for 0.0.0.0, which would reach this
    // machine.
    static std::optional<Address> Destination(const char* text, std::uint16_t port);
    static void SenderBytes(const Address& from, std::uint8_t* sender);
    static std::uint16_t Port(const Address& from) { return from.port; }
};
