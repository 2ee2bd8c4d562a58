#include "transport/SocketTransport.h"

#include <cstring>
#include <optional>

#include "transport/InetAddressForm.h"
#include "transport/IpxAddressForm.h"
#include "transport/LinkedSockets.h"
#include "transport/SocketDatagramIo.h"
#include "transport/WinsockTable.h"

namespace {
constexpr const char* kWindowTitle = "CPH";

template <class Sockets>
concept KeepsSpare = requires(Sockets sockets, plat::SocketHandle socket) {
    sockets.TakeSpare();
    sockets.KeepSpare(socket);
};
}  // namespace

template <class Sockets, class Form>
SocketTransport<Sockets, Form>::SocketTransport(std::int32_t retries, std::int32_t timeOutSeconds,
                                                std::uint32_t flags, plat::WindowProc windowProcedure,
                                                ModuleInstance instance)
    : DatagramTransport(retries, timeOutSeconds, flags, windowProcedure, instance) {
    open_ = true;
    if (Asynchronous()) {
        CreateNotifyWindow(Form::kWindowClass, kWindowTitle);
        if (window_ == 0) {
            return;
        }
    }
    plat::SocketsData data{};
    if (sockets_.WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
        return;
    }
    started_ = true;
    if (!TakeSpare()) {
        MakeSocket();
    }
}

template <class Sockets, class Form>
bool SocketTransport<Sockets, Form>::MaySpare() const {
    return KeepsSpare<Sockets> && !Asynchronous() && !BroadcastAllowed();
}

template <class Sockets, class Form>
bool SocketTransport<Sockets, Form>::TakeSpare() {
    if constexpr (KeepsSpare<Sockets>) {
        if (MaySpare()) {
            socket_ = sockets_.TakeSpare();
            spare_ = anyPort_ = socket_ != kNoSocket;
        }
    }
    return spare_;
}

template <class Sockets, class Form>
void SocketTransport<Sockets, Form>::LeaveSpare() {
    if constexpr (KeepsSpare<Sockets>) {
        if (sockets_.KeepSpare(socket_)) {
            socket_ = kNoSocket;
        }
    }
    CloseSocket();
}

template <class Sockets, class Form>
void SocketTransport<Sockets, Form>::MakeSocket() {
    socket_ = sockets_.socket(Form::kFamily, plat::kSockDgram, Form::kProtocol);
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

template <class Sockets, class Form>
void SocketTransport<Sockets, Form>::CloseSocket() {
    if (socket_ != kNoSocket) {
        sockets_.closesocket(socket_);
        socket_ = kNoSocket;
    }
}

template <class Sockets, class Form>
SocketTransport<Sockets, Form>::~SocketTransport() {
    if (MaySpare() && open_ && anyPort_ && !failed_ && sent_ == received_) {
        LeaveSpare();
    }
    CloseSocket();
    DestroyNotifyWindow();
    open_ = false;
    if (started_) {
        sockets_.WSACleanup();
    }
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::Bind(std::uint16_t port) {
    if (spare_) {
        spare_ = false;
        if (port == 0) {
            open_ = true;
            return kTransportOk;
        }
        // Another port needs a socket of its own: the spare stays the thread's.
        LeaveSpare();
        anyPort_ = false;
        MakeSocket();
    }
    const typename Form::Address local = Form::Local(sockets_.htons(port));
    if (socket_ == kNoSocket || sockets_.bind(socket_, reinterpret_cast<const plat::SocketAddress*>(&local),
                                              sizeof local) == plat::kSocketError) {
        CloseSocket();
        open_ = false;
        return kTransportBindFailed;
    }
    boundPort_ = port;
    anyPort_ = port == 0;
    open_ = true;
    return kTransportOk;
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::Broadcast(const void* data, std::uint32_t length,
                                                          std::uint16_t port) {
    return SendPacket(data, length, Form::kBroadcastAddress, port);
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::SendTo(const void* data, std::uint32_t length,
                                                       const char* address, std::uint16_t port) {
    return SendPacket(data, length, address, port);
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::SendToDefault(const void* data, std::uint32_t length,
                                                              const char* address) {
    return SendPacket(data, length, address, Form::kDefaultPort);
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::SendPacket(const void* data, std::uint32_t length,
                                                           const char* address, std::uint16_t port) {
    if (!open_) {
        return kTransportNotOpen;
    }
    const std::optional<typename Form::Address> to = Form::Destination(address, sockets_.htons(port));
    if (!to) {
        return kTransportSendFailed;
    }
    const TransportResult sent =
        socketio::SendDatagram(sockets_, socket_, retries_, data, length,
                               reinterpret_cast<const plat::SocketAddress&>(*to), sizeof *to);
    sent_ += sent == kTransportOk ? 1 : 0;
    failed_ = failed_ || sent != kTransportOk;
    return sent;
}

template <class Sockets, class Form>
TransportResult SocketTransport<Sockets, Form>::Receive(void* buffer, std::uint32_t size,
                                                        std::uint32_t* length, std::uint8_t* sender,
                                                        std::uint16_t* port) {
    if (!open_) {
        return kTransportNotOpen;
    }
    socketio::Received received;
    const TransportResult result = socketio::ReceiveDatagram(
        sockets_, socket_, retries_, timeOutSeconds_, buffer, size, received, Form::kReportsFailedReceives);
    if (result != kTransportOk) {
        failed_ = true;
        return result;
    }
    ++received_;
    typename Form::Address from{};
    std::memcpy(&from, &received.from, sizeof from);
    if (length != nullptr) {
        *length = received.length;
    }
    if (sender != nullptr) {
        Form::SenderBytes(from, sender);
    }
    if (port != nullptr) {
        *port = sockets_.ntohs(Form::Port(from));
    }
    return kTransportOk;
}

template class SocketTransport<LinkedSockets, InetAddressForm>;
template class SocketTransport<WinsockTable, IpxAddressForm>;
