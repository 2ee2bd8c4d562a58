#pragma once

#include "transport/SocketTransport.h"
#include "transport/WinsockTable.h"

// DatagramTransport over IPX datagrams, through the socket library bound at run time by name
// (WinsockTable). Address texts are 8 hexadecimal digits of the network followed by 12 of the node
// (characters after the 20th are ignored); senders come back as 4 bytes of network and 6 of node,
// ports are IPX socket numbers in host order. The default end point is socket 0x900F; broadcasts
// go to network 0, node FF-FF-FF-FF-FF-FF. In asynchronous mode the hidden window is of class
// "ASYNC_IPX_MSG_HANDLER", titled "CPH", once per process as for UDP. A machine without IPX, or
// without a socket library, gives a transport without socket: Bind fails, and it counts as closed.
class IpxTransport : public SocketTransport<WinsockTable> {
  public:
    static constexpr std::uint16_t kDefaultSocket = 0x900F;
    static constexpr int kAddressDigits = 20;
    static constexpr int kSenderBytes = 10;

    IpxTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                 plat::WindowProc windowProcedure, ModuleInstance instance);

    // The socket number on the local network and node.
    TransportResult Bind(std::uint16_t socketNumber) override;
    TransportResult Broadcast(const void* data, std::uint32_t length, std::uint16_t socketNumber) override;
    TransportResult SendTo(const void* data, std::uint32_t length, const char* address,
                           std::uint16_t socketNumber) override;
    TransportResult SendToDefault(const void* data, std::uint32_t length, const char* address) override;
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* socketNumber) override;
    // The bound socket's own 4 bytes of network and 6 of node; 0 before Bind.
    TransportResult GetLocalAddress(std::uint8_t* address) override;

    // 0, kTransportNotOpen, or kTransportSendFailed (also for an address text that does not start
    // with 20 hexadecimal digits).
    TransportResult SendPacket(const void* data, std::uint32_t length, const char* address,
                               std::uint16_t socketNumber);
};
