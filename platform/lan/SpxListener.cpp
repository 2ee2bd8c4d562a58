#include "platform/lan/SpxListener.h"

#include <algorithm>

#include "platform/lan/LanSettings.h"

namespace plat {

namespace {

constexpr std::size_t kMaxBacklog = 64;

}  // namespace

std::unique_ptr<SpxListener> SpxListener::Open(const HardwareAddress& station, std::uint16_t socket,
                                               int& error) {
    std::unique_ptr<LanPort> port =
        socket == 0 ? LanPort::BindFree(EndpointKind::SpxListener, station, kFirstDynamicSocket,
                                        kDynamicSockets, socket, error)
                    : LanPort::Bind(EndpointName(EndpointKind::SpxListener, station, socket), error);
    if (!port) {
        return nullptr;
    }
    std::unique_ptr<SpxListener> listener(
        new SpxListener(std::move(port), IpxAddress{LocalIpxNetwork(), station, socket}));
    SpxListener* self = listener.get();
    listener->watch_ =
        LanEngine::Get().Watch(listener->port_->Fd(), POLLIN, [self](short) { self->OnReadable(); });
    return listener;
}

SpxListener::SpxListener(std::unique_ptr<LanPort> port, const IpxAddress& address)
    : port_(std::move(port)), address_(address), accepted_(kMaxBacklog) {}

SpxListener::~SpxListener() {
    std::lock_guard guard(LanLock());
    LanEngine::Get().Unwatch(watch_);
    while (auto connection = accepted_.Pop()) {
        (*connection)->Abort();
    }
}

void SpxListener::Listen(std::size_t backlog) {
    std::lock_guard guard(LanLock());
    listening_ = true;
    backlog_ = std::clamp<std::size_t>(backlog, 1, kMaxBacklog);
}

bool SpxListener::Listening() const {
    std::lock_guard guard(LanLock());
    return listening_;
}

void SpxListener::OnReadable() {
    std::vector<std::uint8_t> bytes;
    while (port_->Receive(bytes)) {
        auto frame = DecodeLanFrame(bytes);
        if (!frame || frame->kind != LanFrame::Kind::Ipx) {
            continue;
        }
        auto packet = DecodeSpxPacket(frame->ipx);
        if (packet && packet->frame.kind == ReliableLink::FrameKind::ConnectRequest &&
            packet->destinationConnection == kSpxUnknownConnection) {
            OnRequest(*packet);
        }
    }
}

void SpxListener::OnRequest(const SpxPacket& request) {
    auto key = std::make_pair(request.source.node, request.sourceConnection);
    if (auto known = answered_[key].lock()) {
        known->OnPacket(request);  // a repeated request: the connection confirms again
        return;
    }
    std::erase_if(answered_, [](const auto& entry) { return entry.second.expired(); });
    if (!listening_ || accepted_.Size() >= backlog_) {
        Refuse(request);
        return;
    }
    int error = 0;
    auto connection = SpxConnection::Accept(address_, request.source, request.sourceConnection, error);
    if (!connection) {
        Refuse(request);
        return;
    }
    answered_[key] = connection;
    accepted_.Push(connection);
}

void SpxListener::Refuse(const SpxPacket& request) {
    SpxPacket refusal;
    refusal.source = address_;
    refusal.destination = request.source;
    refusal.sourceConnection = kSpxUnknownConnection;
    refusal.destinationConnection = request.sourceConnection;
    refusal.frame.kind = ReliableLink::FrameKind::Refuse;
    SendSpxPacket(refusal,
                  EndpointName(EndpointKind::SpxConnection, request.source.node, request.sourceConnection));
}

}  // namespace plat
