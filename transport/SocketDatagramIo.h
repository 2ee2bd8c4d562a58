#pragma once

#include <cstdint>
#include <cstring>

#include "platform/services/DebugOutput.h"
#include "platform/sock/SocketLibrary.h"
#include "transport/TransportResult.h"

// The send and receive loops that the UDP and IPX transports share. Sockets is the socket library as
// the transport reaches it: the library it links against, or a WinsockTable bound at run time.
namespace socketio {

// Errors after which the transport counts as closed; every other error is tried again.
inline bool ConnectionLost(int error) {
    return error == plat::kWsaEconnaborted || error == plat::kWsaEconnreset;
}

// Up to `tries` sends of the whole datagram: 0, kTransportNotOpen, or kTransportSendFailed.
template <class Sockets>
TransportResult SendDatagram(Sockets& sockets, plat::SocketHandle socket, std::int32_t tries,
                             const void* data, std::uint32_t length, const plat::SocketAddress& to,
                             int toLength) {
    for (std::int32_t attempt = 0; attempt < tries; ++attempt) {
        const int sent = sockets.sendto(socket, static_cast<const char*>(data), static_cast<int>(length), 0,
                                        &to, toLength);
        if (sent != plat::kSocketError) {
            return kTransportOk;
        }
        if (ConnectionLost(sockets.WSAGetLastError())) {
            return kTransportNotOpen;
        }
    }
    return kTransportSendFailed;
}

// What one received datagram came with.
struct Received {
    std::uint32_t length = 0;
    plat::SocketAddress from{};
};

// One datagram into `buffer` if one waits (the transports' sockets do not block).
template <class Sockets>
int TakeDatagram(Sockets& sockets, plat::SocketHandle socket, void* buffer, std::uint32_t size,
                 Received& received) {
    int fromLength = sizeof received.from;
    return sockets.recvfrom(socket, static_cast<char*>(buffer), static_cast<int>(size), 0, &received.from,
                            &fromLength);
}

template <class Sockets>
bool WaitReadable(Sockets& sockets, plat::SocketHandle socket, std::int32_t timeOutSeconds) {
    plat::FdSet readable{};
    plat::FdSet failed{};
    plat::FdAdd(socket, readable);
    plat::FdAdd(socket, failed);
    const plat::TimeValue wait{timeOutSeconds, 0};
    return sockets.select(0, &readable, nullptr, &failed, &wait) == 1 &&
           (plat::FdIsSet(socket, readable) || plat::FdIsSet(socket, failed));
}

// Up to `attempts` waits of timeOutSeconds each for one datagram; one that already waits (as after a
// notice) ends the wait at once. The wait comes first: right after a request the answer is rarely
// there yet, and looking for it before waiting would cost a call for nothing. 0, kTransportNotOpen,
// or kTransportReceiveFailed when an attempt failed and none succeeded, else kTransportTimedOut. With
// reportFailures a failed receive is written to the debugger output.
template <class Sockets>
TransportResult ReceiveDatagram(Sockets& sockets, plat::SocketHandle socket, std::int32_t attempts,
                                std::int32_t timeOutSeconds, void* buffer, std::uint32_t size,
                                Received& received, bool reportFailures) {
    TransportResult result = kTransportTimedOut;
    for (std::int32_t attempt = 0; attempt < attempts; ++attempt) {
        if (!WaitReadable(sockets, socket, timeOutSeconds)) {
            continue;
        }
        const int length = TakeDatagram(sockets, socket, buffer, size, received);
        if (length != plat::kSocketError) {
            received.length = static_cast<std::uint32_t>(length);
            return kTransportOk;
        }
        const int error = sockets.WSAGetLastError();
        if (ConnectionLost(error)) {
            return kTransportNotOpen;
        }
        if (reportFailures) {
            std::uint32_t senderWord = 0;
            std::memcpy(&senderWord, received.from.data + 2, sizeof senderWord);
            plat::DebugPrintf("socket error %x CPH_DATAGRAM_RECV_FAILED ret val = %d\n", senderWord, error);
        }
        result = kTransportReceiveFailed;
    }
    return result;
}

}  // namespace socketio
