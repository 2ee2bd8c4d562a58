#include "confighelper/DeadlineReceive.h"

#include "transport/WinsockTable.h"

namespace {

// True when the socket has a datagram within `waitMs`.
bool Readable(DatagramTransport::Socket socket, std::uint32_t waitMs) {
    WinsockTable sockets;
    plat::SocketsData data{};
    if (sockets.WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
        return false;
    }
    plat::FdSet readSet;
    plat::FdZero(readSet);
    plat::FdAdd(static_cast<plat::SocketHandle>(socket), readSet);
    const plat::TimeValue wait{static_cast<std::int32_t>(waitMs / 1000),
                               static_cast<std::int32_t>(waitMs % 1000) * 1000};
    const bool readable = sockets.select(0, &readSet, nullptr, nullptr, &wait) > 0;
    sockets.WSACleanup();
    return readable;
}

}  // namespace

TransportResult ReceiveBefore(DatagramTransport& transport, std::uint32_t deadline,
                              std::vector<std::uint8_t>& buffer, std::uint32_t& length) {
    buffer.resize(kDatagramRoom);
    const DatagramTransport::Socket socket = transport.GetSocket();
    if (socket != DatagramTransport::kNoSocket) {
        const auto left = static_cast<std::int32_t>(deadline - plat::TickCount());
        if (!Readable(socket, left > 0 ? static_cast<std::uint32_t>(left) : 0)) {
            return kTransportTimedOut;
        }
    }
    std::uint8_t sender[10];
    std::uint16_t port = 0;
    return transport.Receive(buffer.data(), kDatagramRoom, &length, sender, &port);
}

Answer AwaitAnswer(DatagramTransport& transport, std::uint32_t deadline, std::int32_t requestId,
                   Refusal refusal, bool* undecodable) {
    std::vector<std::uint8_t> datagram;
    do {
        std::uint32_t length = 0;
        // A socket wait ends only at the deadline; any other failure will not mend itself.
        if (ReceiveBefore(transport, deadline, datagram, length) != kTransportOk) {
            return nullptr;
        }
        Answer answer = DecodeAnswer(datagram.data(), length);
        if (answer == nullptr) {
            if (undecodable != nullptr) {
                *undecodable = true;
            }
        } else if (answer->RequestId == requestId) {
            if (answer->ErrorStatus == 0) {
                return answer;
            }
            if (refusal == Refusal::kEnds) {
                return nullptr;
            }
        }
    } while (static_cast<std::int32_t>(deadline - plat::TickCount()) > 0);
    return nullptr;
}
