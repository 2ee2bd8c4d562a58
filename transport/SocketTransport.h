#pragma once

#include <cstdint>

#include "platform/sock/SocketLibrary.h"
#include "transport/DatagramTransport.h"

// The UDP and IPX transports: a non-blocking datagram socket of the socket library (Sockets:
// LinkedSockets or a WinsockTable), started in the constructor and stopped in the destructor, with
// the bounded send and receive loops. They differ only in their address form (Form: InetAddressForm
// or IpxAddressForm), which turns address texts into socket addresses and socket addresses into
// sender bytes. A transport whose library did not start, or whose asynchronous mode got no window,
// has no socket: its Bind fails and then it counts as closed.
template <class Sockets, class Form>
class SocketTransport : public DatagramTransport {
  public:
    // On failure the socket is closed and every later send and receive answers kTransportNotOpen.
    TransportResult Bind(std::uint16_t port) override;
    TransportResult Broadcast(const void* data, std::uint32_t length, std::uint16_t port) override;
    TransportResult SendTo(const void* data, std::uint32_t length, const char* address,
                           std::uint16_t port) override;
    TransportResult SendToDefault(const void* data, std::uint32_t length, const char* address) override;
    // The sender comes as the form's address bytes and its port in host order.
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* port) override;

    // 0, kTransportNotOpen, or kTransportSendFailed (also for an address text the form refuses).
    TransportResult SendPacket(const void* data, std::uint32_t length, const char* address,
                               std::uint16_t port);

  protected:
    SocketTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                    plat::WindowProc windowProcedure, ModuleInstance instance);
    ~SocketTransport() override;

    Sockets sockets_;

  private:
    void MakeSocket();
    void CloseSocket();
    // The thread's spare socket (only a linked library has one), for a synchronous transport that
    // sends no broadcasts; a clean one is left as the spare when the transport ends.
    bool MaySpare() const;
    bool TakeSpare();
    void LeaveSpare();

    bool started_ = false;  // WSAStartup succeeded: WSACleanup is owed
    bool spare_ = false;    // the socket came bound to port 0 as the spare, and Bind has not been called
    bool anyPort_ = false;  // bound to the port the system chose
    // Datagrams sent, and answers received: a socket that got as many as it sent expects no more.
    std::uint32_t sent_ = 0;
    std::uint32_t received_ = 0;
    bool failed_ = false;  // a send or receive failed: the socket is not handed on
};
