#include "platform/lan/IpxEndpoint.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/lan/LanSettings.h"

namespace plat {

namespace {

// Each datagram crosses from the engine to the program as its source address, packet type and data.
constexpr std::size_t kHandOverHeader = 13;
constexpr int kHandOverBuffer = 1 << 20;

}  // namespace

std::unique_ptr<IpxEndpoint> IpxEndpoint::Open(const HardwareAddress& station, std::uint16_t socket,
                                               int& error) {
    std::unique_ptr<LanPort> port =
        socket == 0 ? LanPort::BindFree(EndpointKind::Ipx, station, kFirstDynamicSocket, kDynamicSockets,
                                        socket, error)
                    : LanPort::Bind(EndpointName(EndpointKind::Ipx, station, socket), error);
    if (!port) {
        return nullptr;
    }
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, ends) != 0) {
        error = errno;
        return nullptr;
    }
    for (int end : ends) {
        setsockopt(end, SOL_SOCKET, SO_SNDBUF, &kHandOverBuffer, sizeof kHandOverBuffer);
        setsockopt(end, SOL_SOCKET, SO_RCVBUF, &kHandOverBuffer, sizeof kHandOverBuffer);
    }
    IpxAddress address{LocalIpxNetwork(), station, socket};
    std::unique_ptr<IpxEndpoint> endpoint(new IpxEndpoint(std::move(port), address, ends[0], ends[1]));
    IpxEndpoint* self = endpoint.get();
    endpoint->watch_ =
        LanEngine::Get().Watch(endpoint->port_->Fd(), POLLIN, [self](short) { self->OnReadable(); });
    return endpoint;
}

IpxEndpoint::IpxEndpoint(std::unique_ptr<LanPort> port, const IpxAddress& address, int userFd, int engineFd)
    : port_(std::move(port)), address_(address), userFd_(userFd), engineFd_(engineFd) {}

IpxEndpoint::~IpxEndpoint() {
    LanEngine::Get().Unwatch(watch_);
    close(engineFd_);
    close(userFd_);
}

std::optional<IpxDatagram> IpxEndpoint::Receive(bool peek) {
    std::uint8_t buffer[kHandOverHeader + kIpxMaxData];
    ssize_t got = recv(userFd_, buffer, sizeof buffer, MSG_DONTWAIT | (peek ? MSG_PEEK : 0));
    if (got < static_cast<ssize_t>(kHandOverHeader)) {
        return std::nullopt;
    }
    IpxDatagram datagram;
    std::memcpy(&datagram.source.network, buffer, 4);
    std::memcpy(datagram.source.node.bytes.data(), buffer + 4, 6);
    std::memcpy(&datagram.source.socket, buffer + 10, 2);
    datagram.packetType = buffer[12];
    datagram.data.assign(buffer + kHandOverHeader, buffer + got);
    return datagram;
}

int IpxEndpoint::SendTo(const IpxAddress& destination, std::uint8_t packetType,
                        std::span<const std::uint8_t> data) {
    if (data.size() > kIpxMaxData) {
        return EMSGSIZE;
    }
    if (destination.network != 0 && destination.network != address_.network) {
        return 0;
    }
    IpxPacket packet{packetType, destination, address_, data};
    std::vector<std::uint8_t> frame = EncodeIpxFrame(packet);
    if (destination.node.IsBroadcast()) {
        LanSendToAll(EndpointKind::Ipx, destination.socket, frame, LanSendMode::WaitForRoom);
    } else {
        LanSend(EndpointName(EndpointKind::Ipx, destination.node, destination.socket), frame,
                LanSendMode::WaitForRoom);
    }
    return 0;
}

bool IpxEndpoint::Accepts(const IpxPacket& packet) const {
    const IpxAddress& to = packet.destination;
    return packet.type != kIpxPacketTypeSpx && (to.network == 0 || to.network == address_.network) &&
           (to.node == address_.node || to.node.IsBroadcast()) && to.socket == address_.socket;
}

void IpxEndpoint::OnReadable() {
    std::vector<std::uint8_t> bytes;
    while (port_->Receive(bytes)) {
        auto frame = DecodeLanFrame(bytes);
        if (!frame || frame->kind != LanFrame::Kind::Ipx || !Accepts(frame->ipx)) {
            continue;
        }
        const IpxPacket& packet = frame->ipx;
        std::vector<std::uint8_t> handOver(kHandOverHeader);
        std::memcpy(handOver.data(), &packet.source.network, 4);
        std::memcpy(handOver.data() + 4, packet.source.node.bytes.data(), 6);
        std::memcpy(handOver.data() + 10, &packet.source.socket, 2);
        handOver[12] = packet.type;
        handOver.insert(handOver.end(), packet.data.begin(), packet.data.end());
        // A program that does not keep up loses datagrams, as with a full socket buffer.
        send(engineFd_, handOver.data(), handOver.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    }
}

}  // namespace plat
