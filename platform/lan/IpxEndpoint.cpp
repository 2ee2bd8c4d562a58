#include "platform/lan/IpxEndpoint.h"

#include <cerrno>
#include <random>

#include "platform/lan/LanSettings.h"

namespace plat {

namespace {

constexpr std::size_t kQueueCapacity = 256;
constexpr std::uint16_t kFirstDynamicSocket = 0x4000;
constexpr std::uint16_t kDynamicSockets = 0x4000;

std::unique_ptr<LanPort> BindDynamic(const HardwareAddress& station, std::uint16_t& socket, int& error) {
    std::uint16_t start = static_cast<std::uint16_t>(std::random_device{}() % kDynamicSockets);
    for (std::uint16_t i = 0; i < kDynamicSockets; ++i) {
        std::uint16_t candidate = kFirstDynamicSocket + (start + i) % kDynamicSockets;
        auto port = LanPort::Bind(EndpointName(EndpointKind::Ipx, station, candidate), error);
        if (port || error != EADDRINUSE) {
            socket = candidate;
            return port;
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<IpxEndpoint> IpxEndpoint::Open(const HardwareAddress& station, std::uint16_t socket,
                                               int& error) {
    std::unique_ptr<LanPort> port =
        socket == 0 ? BindDynamic(station, socket, error)
                    : LanPort::Bind(EndpointName(EndpointKind::Ipx, station, socket), error);
    if (!port) {
        return nullptr;
    }
    IpxAddress address{LocalIpxNetwork(), station, socket};
    std::unique_ptr<IpxEndpoint> endpoint(new IpxEndpoint(std::move(port), address));
    IpxEndpoint* self = endpoint.get();
    endpoint->watch_ =
        LanEngine::Get().Watch(endpoint->port_->Fd(), POLLIN, [self](short) { self->OnReadable(); });
    return endpoint;
}

IpxEndpoint::IpxEndpoint(std::unique_ptr<LanPort> port, const IpxAddress& address)
    : port_(std::move(port)), address_(address), queue_(kQueueCapacity) {}

IpxEndpoint::~IpxEndpoint() {
    LanEngine::Get().Unwatch(watch_);
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
        queue_.Push(IpxDatagram{packet.source, packet.type, {packet.data.begin(), packet.data.end()}});
    }
}

}  // namespace plat
