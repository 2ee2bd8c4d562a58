#pragma once

#include "transport/LinkedSockets.h"
#include "transport/SocketTransport.h"

// DatagramTransport over UDP/IPv4, through the socket library the deliverable links against.
// Addresses are dotted IPv4 texts; the default end point is port 161; broadcasts go to
// 255.255.255.255 and need kTransportBroadcast. In asynchronous mode the hidden window is of class
// "ASYNC_MSG_HANDLER", titled "CPH"; the class is registered once per process, so only the first
// asynchronous UDP transport of a process gets a window (a later one has no socket either).
class UdpTransport : public SocketTransport<LinkedSockets> {
  public:
    static constexpr std::uint16_t kDefaultPort = 161;

    // Never fails: a transport that could not make its socket answers kTransportBindFailed from Bind.
    UdpTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                 plat::WindowProc windowProcedure, ModuleInstance instance);

    // Any local address; port 0: any free port. On failure the socket is closed and every later send
    // and receive answers kTransportNotOpen.
    TransportResult Bind(std::uint16_t port) override;
    TransportResult Broadcast(const void* data, std::uint32_t length, std::uint16_t port) override;
    TransportResult SendTo(const void* data, std::uint32_t length, const char* address,
                           std::uint16_t port) override;
    TransportResult SendToDefault(const void* data, std::uint32_t length, const char* address) override;
    // The sender comes as its 4 address bytes in network order and its port in host order.
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* port) override;
    // This machine's first non-loopback IPv4 address; a loopback one only when it has no other.
    TransportResult GetLocalAddress(std::uint8_t* address) override;

    // 0, kTransportNotOpen, or kTransportSendFailed (also for a text that is not a dotted IPv4
    // address, and for 0.0.0.0, which would reach this machine).
    TransportResult SendPacket(const void* data, std::uint32_t length, const char* address,
                               std::uint16_t port);
};
