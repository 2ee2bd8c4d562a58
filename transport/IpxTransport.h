#pragma once

#include "transport/IpxAddressForm.h"
#include "transport/SocketTransport.h"
#include "transport/WinsockTable.h"

// DatagramTransport over IPX datagrams, through the socket library bound at run time by name
// (WinsockTable). Address texts are 8 hexadecimal digits of the network followed by 12 of the node
// (characters after the 20th are ignored); senders come back as 4 bytes of network and 6 of node,
// ports are IPX socket numbers in host order. The default end point is socket 0x900F; broadcasts
// go to network 0, node FF-FF-FF-FF-FF-FF. In asynchronous mode the hidden window is of class
// "ASYNC_IPX_MSG_HANDLER", titled "CPH", once per process as for UDP. A machine without IPX, or
// without a socket library, gives a transport without socket: Bind fails, and it counts as closed.
class IpxTransport : public SocketTransport<WinsockTable, IpxAddressForm> {
  public:
    static constexpr std::uint16_t kDefaultSocket = IpxAddressForm::kDefaultPort;
    static constexpr int kAddressDigits = IpxAddressForm::kAddressDigits;
    static constexpr int kSenderBytes = IpxAddressForm::kSenderBytes;

    IpxTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                 plat::WindowProc windowProcedure, ModuleInstance instance);

    // The bound socket's own 4 bytes of network and 6 of node; 0 before Bind.
    TransportResult GetLocalAddress(std::uint8_t* address) override;
};
