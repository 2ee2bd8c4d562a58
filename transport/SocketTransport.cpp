#include "transport/SocketTransport.h"

#include <algorithm>
#include <cstring>

#include "transport/LinkedSockets.h"
#include "transport/SocketDatagramIo.h"
#include "transport/WinsockTable.h"

namespace {
constexpr const char* kWindowTitle = "CPH";
}

template <class Sockets>
SocketTransport<Sockets>::SocketTransport(std::int32_t retries, std::int32_t timeOutSeconds,
                                          std::uint32_t flags, plat::WindowProc windowProcedure,
                                          ModuleInstance instance, const SocketKind& kind)
    : DatagramTransport(retries, timeOutSeconds, flags, windowProcedure, instance) {
    open_ = true;
    if (Asynchronous()) {
        CreateNotifyWindow(kind.windowClass, kWindowTitle);
        if (window_ == 0) {
            return;
        }
    }
    plat::SocketsData data{};
    if (sockets_.WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
        return;
    }
    started_ = true;
    MakeSocket(kind);
}

template <class Sockets>
void SocketTransport<Sockets>::MakeSocket(const SocketKind& kind) {
    socket_ = sockets_.socket(kind.family, plat::kSockDgram, kind.protocol);
    if (socket_ == kNoSocket) {
        return;
    }
    std::uint32_t nonBlocking = 1;
    if (sockets_.ioctlsocket(socket_, plat::kFionbio, &nonBlocking) == plat::kSocketError) {
        CloseSocket();
        return;
    }
    const std::int32_t on = 1;
    if (BroadcastAllowed() &&
        sockets_.setsockopt(socket_, plat::kSolSocket, plat::kSoBroadcast, reinterpret_cast<const char*>(&on),
                            sizeof on) == plat::kSocketError) {
        CloseSocket();
        return;
    }
    if (Asynchronous()) {
        // A failure only means that the owner hears of no datagram.
        sockets_.WSAAsyncSelect(socket_, window_, WM_DATAGRAM_NOTIFY, plat::kFdRead | plat::kFdClose);
    }
}

template <class Sockets>
void SocketTransport<Sockets>::CloseSocket() {
    if (socket_ != kNoSocket) {
        sockets_.closesocket(socket_);
        socket_ = kNoSocket;
    }
}

template <class Sockets>
SocketTransport<Sockets>::~SocketTransport() {
    CloseSocket();
    DestroyNotifyWindow();
    open_ = false;
    if (started_) {
        sockets_.WSACleanup();
    }
}

template <class Sockets>
TransportResult SocketTransport<Sockets>::BindTo(const void* local, int localLength, std::uint16_t port) {
    if (socket_ == kNoSocket || sockets_.bind(socket_, static_cast<const plat::SocketAddress*>(local),
                                              localLength) == plat::kSocketError) {
        CloseSocket();
        open_ = false;
        return kTransportBindFailed;
    }
    boundPort_ = port;
    open_ = true;
    return kTransportOk;
}

template <class Sockets>
TransportResult SocketTransport<Sockets>::SendToAddress(const void* data, std::uint32_t length,
                                                        const void* to, int toLength) {
    if (!open_) {
        return kTransportNotOpen;
    }
    return socketio::SendDatagram(sockets_, socket_, retries_, data, length,
                                  *static_cast<const plat::SocketAddress*>(to), toLength);
}

template <class Sockets>
TransportResult SocketTransport<Sockets>::ReceiveFrom(void* buffer, std::uint32_t size, std::uint32_t* length,
                                                      void* from, std::uint32_t fromSize,
                                                      bool reportFailures) {
    if (!open_) {
        return kTransportNotOpen;
    }
    socketio::Received received;
    const TransportResult result = socketio::ReceiveDatagram(sockets_, socket_, retries_, timeOutSeconds_,
                                                             buffer, size, received, reportFailures);
    if (result == kTransportOk) {
        if (length != nullptr) {
            *length = received.length;
        }
        std::memcpy(from, &received.from, std::min<std::size_t>(fromSize, sizeof received.from));
    }
    return result;
}

template class SocketTransport<LinkedSockets>;
template class SocketTransport<WinsockTable>;
