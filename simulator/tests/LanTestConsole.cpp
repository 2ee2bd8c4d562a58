#include "simulator/tests/LanTestConsole.h"

#include <poll.h>

namespace sim::test {

IpxTestSocket::IpxTestSocket(uint16_t socket) {
    int error = 0;
    endpoint_ = plat::IpxEndpoint::Open(ConsoleStation, socket, error);
}

bool IpxTestSocket::SendTo(const plat::IpxAddress& to, const std::vector<uint8_t>& bytes) {
    return endpoint_ && endpoint_->SendTo(to, 4, bytes) == 0;
}

std::optional<LanDatagram> IpxTestSocket::Receive(std::chrono::milliseconds wait) {
    pollfd ready{endpoint_->Fd(), POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(wait.count())) <= 0) {
        return std::nullopt;
    }
    std::optional<plat::IpxDatagram> datagram = endpoint_->Receive();
    if (!datagram) {
        return std::nullopt;
    }
    LanDatagram received;
    received.from.protocol = Protocol::Ipx;
    for (size_t i = 0; i < 4; ++i) {
        received.from.address[i] = static_cast<uint8_t>(datagram->source.network >> (24 - 8 * i));
    }
    std::copy(datagram->source.node.bytes.begin(), datagram->source.node.bytes.end(),
              received.from.address.begin() + 4);
    received.from.port = datagram->source.socket;
    received.bytes = std::move(datagram->data);
    return received;
}

DlcTestSap::DlcTestSap(uint8_t sap) : sap_(sap) {
    int error = 0;
    port_ = plat::SapPort::Open(ConsoleStation, sap, *this, error);
}

DlcTestSap::~DlcTestSap() {
    std::lock_guard lock(plat::LanLock());
    port_.reset();
}

bool DlcTestSap::SendTo(const plat::HardwareAddress& to, uint8_t sap, const std::vector<uint8_t>& bytes) {
    return port_ && plat::SendUiFrame(ConsoleStation, sap_, to, sap, bytes) == 0;
}

std::optional<LanDatagram> DlcTestSap::Receive(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, wait, [this] { return !frames_.empty(); })) {
        return std::nullopt;
    }
    LanDatagram frame = std::move(frames_.front());
    frames_.pop_front();
    return frame;
}

void DlcTestSap::OnUiFrame(const plat::HardwareAddress& source, uint8_t sourceSap,
                           std::span<const uint8_t> data) {
    LanDatagram frame;
    frame.from.protocol = Protocol::Dlc;
    std::copy(source.bytes.begin(), source.bytes.end(), frame.from.address.begin());
    frame.from.port = sourceSap;
    frame.bytes.assign(data.begin(), data.end());
    std::lock_guard lock(mutex_);
    frames_.push_back(std::move(frame));
    arrived_.notify_one();
}

}  // namespace sim::test
