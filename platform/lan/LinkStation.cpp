#include "platform/lan/LinkStation.h"

#include <cerrno>

#include "platform/lan/SapPort.h"

namespace plat {

std::unique_ptr<LinkStation> LinkStation::Open(SapPort& sap, const HardwareAddress& remote,
                                               std::uint8_t remoteSap, std::uint8_t window,
                                               Listener& listener, int& error) {
    std::unique_ptr<LinkStation> station(new LinkStation(sap, remote, remoteSap, window, listener));
    if (!sap.Attach(*station)) {
        error = EADDRINUSE;
        station.reset();
    }
    return station;
}

LinkStation::LinkStation(SapPort& sap, const HardwareAddress& remote, std::uint8_t remoteSap,
                         std::uint8_t window, Listener& listener)
    : sap_(sap), remote_(remote), remoteSap_(remoteSap), listener_(listener), link_(*this, window) {}

LinkStation::~LinkStation() {
    std::lock_guard guard(LanLock());
    link_.Abort();
    sap_.Detach(*this);
}

int LinkStation::Send(std::vector<std::uint8_t> data) {
    if (data.size() > kLlcMaxData) {
        return EMSGSIZE;
    }
    if (link_.GetState() != ReliableLink::State::Connected) {
        return ENOTCONN;
    }
    link_.Send(std::move(data));
    return 0;
}

void LinkStation::OnFrame(const LlcFrame& frame) {
    if (auto decoded = DecodeLlcControl(frame)) {
        link_.OnFrame(*decoded);
    }
}

void LinkStation::Transmit(const ReliableLink::Frame& frame) {
    sap_.SendLinkFrame(remote_, remoteSap_, EncodeLlcControl(frame), frame.data);
}

bool LinkStation::Deliver(std::vector<std::uint8_t>& data, bool) {
    return listener_.OnData(data);
}

void LinkStation::Acknowledged(std::size_t count) {
    listener_.OnAcknowledged(count);
}

void LinkStation::Notify(ReliableLink::Event event) {
    listener_.OnEvent(event);
}

}  // namespace plat
