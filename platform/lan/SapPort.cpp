#include "platform/lan/SapPort.h"

#include <cerrno>

#include "platform/lan/LinkStation.h"
#include "platform/lan/LlcControl.h"

namespace plat {

namespace {

std::vector<std::uint8_t> EncodeSapFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                                         const HardwareAddress& destination, std::uint8_t destinationSap,
                                         std::array<std::uint8_t, 2> control,
                                         std::span<const std::uint8_t> data) {
    LlcFrame frame;
    frame.destination = destination;
    frame.source = source;
    frame.dsap = destinationSap;
    frame.ssap = sourceSap;
    frame.control = control;
    frame.data = data;
    return EncodeLlcFrame(frame);
}

void SendToSap(const HardwareAddress& destination, std::uint8_t destinationSap,
               std::span<const std::uint8_t> frame, LanSendMode mode) {
    if (destination.IsBroadcast()) {
        LanSendToAll(EndpointKind::Sap, destinationSap, frame, mode);
    } else {
        LanSend(EndpointName(EndpointKind::Sap, destination, destinationSap), frame, mode);
    }
}

}  // namespace

int SendUiFrame(const HardwareAddress& source, std::uint8_t sourceSap, const HardwareAddress& destination,
                std::uint8_t destinationSap, std::span<const std::uint8_t> data) {
    if (data.size() > kLlcMaxData) {
        return EMSGSIZE;
    }
    std::vector<std::uint8_t> frame =
        EncodeSapFrame(source, sourceSap, destination, destinationSap, {kLlcUiControl, 0}, data);
    SendToSap(destination, destinationSap, frame, LanSendMode::WaitForRoom);
    return 0;
}

std::unique_ptr<SapPort> SapPort::Open(const HardwareAddress& station, std::uint8_t sap, Handler& handler,
                                       int& error) {
    auto port = LanPort::Bind(EndpointName(EndpointKind::Sap, station, sap), error);
    if (!port) {
        return nullptr;
    }
    std::unique_ptr<SapPort> sapPort(new SapPort(std::move(port), station, sap, handler));
    SapPort* self = sapPort.get();
    sapPort->watch_ =
        LanEngine::Get().Watch(sapPort->port_->Fd(), POLLIN, [self](short) { self->OnReadable(); });
    return sapPort;
}

SapPort::SapPort(std::unique_ptr<LanPort> port, const HardwareAddress& station, std::uint8_t sap,
                 Handler& handler)
    : port_(std::move(port)), station_(station), sap_(sap), handler_(handler) {}

SapPort::~SapPort() {
    LanEngine::Get().Unwatch(watch_);
}

bool SapPort::Attach(LinkStation& station) {
    std::lock_guard guard(LanLock());
    return stations_.emplace(std::make_pair(station.Remote(), station.RemoteSap()), &station).second;
}

void SapPort::Detach(LinkStation& station) {
    std::lock_guard guard(LanLock());
    auto it = stations_.find(std::make_pair(station.Remote(), station.RemoteSap()));
    if (it != stations_.end() && it->second == &station) {
        stations_.erase(it);
    }
}

void SapPort::SendLinkFrame(const HardwareAddress& destination, std::uint8_t destinationSap,
                            std::array<std::uint8_t, 2> control, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> frame =
        EncodeSapFrame(station_, sap_, destination, destinationSap, control, data);
    SendToSap(destination, destinationSap, frame, LanSendMode::NoWait);
}

void SapPort::OnReadable() {
    std::vector<std::uint8_t> bytes;
    while (port_->Receive(bytes)) {
        auto frame = DecodeLanFrame(bytes);
        if (frame && frame->kind == LanFrame::Kind::Llc && frame->llc.dsap == sap_ &&
            (frame->llc.destination == station_ || frame->llc.destination.IsBroadcast())) {
            Dispatch(frame->llc);
        }
    }
}

void SapPort::Dispatch(const LlcFrame& frame) {
    if (IsUiFrame(frame)) {
        handler_.OnUiFrame(frame.source, frame.ssap, frame.data);
        return;
    }
    if (frame.destination.IsBroadcast()) {
        return;  // links are between two stations
    }
    auto decoded = DecodeLlcControl(frame);
    if (!decoded) {
        return;
    }
    auto key = std::make_pair(frame.source, frame.ssap);
    if (!stations_.contains(key) && decoded->kind == ReliableLink::FrameKind::ConnectRequest) {
        handler_.OnConnectRequest(frame.source, frame.ssap);
        if (stations_.contains(key)) {
            return;  // the handler answered it
        }
    }
    auto it = stations_.find(key);
    if (it != stations_.end()) {
        it->second->OnFrame(frame);
    } else if (decoded->kind != ReliableLink::FrameKind::Refuse &&
               decoded->kind != ReliableLink::FrameKind::Confirm) {
        ReliableLink::Frame refusal;
        refusal.kind = ReliableLink::FrameKind::Refuse;
        SendLinkFrame(frame.source, frame.ssap, EncodeLlcControl(refusal), {});
    }
}

}  // namespace plat
