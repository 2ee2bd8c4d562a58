#pragma once

#include "transport/InetAddressForm.h"
#include "transport/LinkedSockets.h"
#include "transport/SocketTransport.h"

// DatagramTransport over UDP/IPv4, through the socket library the deliverable links against.
// Addresses are dotted IPv4 texts (0.0.0.0 is refused: it would reach this machine); senders come as
// their 4 address bytes in network order and ports in host order. The default end point is port 161;
// broadcasts go to 255.255.255.255 and need kTransportBroadcast. In asynchronous mode the hidden
// window is of class "ASYNC_MSG_HANDLER", titled "CPH"; the class is registered once per process, so
// only the first asynchronous UDP transport of a process gets a window (a later one has no socket
// either).
class UdpTransport : public SocketTransport<LinkedSockets, InetAddressForm> {
  public:
    static constexpr std::uint16_t kDefaultPort = InetAddressForm::kDefaultPort;

    // Never fails: a transport that could not make its socket answers kTransportBindFailed from Bind.
    UdpTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                 plat::WindowProc windowProcedure, ModuleInstance instance);

    // This machine's first non-loopback IPv4 address; a loopback one only when it has no other.
    TransportResult GetLocalAddress(std::uint8_t* address) override;
};
