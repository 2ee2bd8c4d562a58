#pragma once

#include <cstdint>

#include "platform/sock/SocketLibrary.h"
#include "transport/DatagramTransport.h"

// What the UDP and IPX transports share: a non-blocking datagram socket of the socket library
// (Sockets: LinkedSockets or a WinsockTable), started in the constructor and stopped in the
// destructor, with the bounded send and receive loops. A transport whose library did not start, or
// whose asynchronous mode got no window, has no socket: its Bind fails and then it counts as closed.
template <class Sockets>
class SocketTransport : public DatagramTransport {
  protected:
    struct SocketKind {
        int family;
        int protocol;
        const char* windowClass;
    };

    SocketTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                    plat::WindowProc windowProcedure, ModuleInstance instance, const SocketKind& kind);
    ~SocketTransport() override;

    // On failure the socket is closed and the transport counts as closed.
    TransportResult BindTo(const void* local, int localLength, std::uint16_t port);
    TransportResult SendToAddress(const void* data, std::uint32_t length, const void* to, int toLength);
    // On success the sender's socket address is in `from` (of at most fromSize bytes).
    TransportResult ReceiveFrom(void* buffer, std::uint32_t size, std::uint32_t* length, void* from,
                                std::uint32_t fromSize, bool reportFailures);

    Sockets sockets_;

  private:
    void MakeSocket(const SocketKind& kind);
    void CloseSocket();

    bool started_ = false;  // WSAStartup succeeded: WSACleanup is owed
};
