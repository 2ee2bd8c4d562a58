#include "simulator/CardLanPorts.h"

#include <cstring>

#include "simulator/ServiceAdvertising.h"

namespace sim {

namespace {

constexpr uint8_t PacketExchangeType = 4;

Peer FromIpx(const plat::IpxAddress& address) {
    Peer peer;
    peer.protocol = Protocol::Ipx;
    for (size_t i = 0; i < 4; ++i) {
        peer.address[i] = static_cast<uint8_t>(address.network >> (24 - 8 * i));
    }
    std::copy(address.node.bytes.begin(), address.node.bytes.end(), peer.address.begin() + 4);
    peer.port = address.socket;
    return peer;
}

plat::IpxAddress ToIpx(const Peer& peer) {
    plat::IpxAddress address;
    for (size_t i = 0; i < 4; ++i) {
        address.network = (address.network << 8) | peer.address[i];
    }
    std::copy_n(peer.address.begin() + 4, 6, address.node.bytes.begin());
    address.socket = peer.port;
    return address;
}

std::optional<LanDatagram> Take(plat::IpxEndpoint* endpoint) {
    if (endpoint == nullptr) {
        return std::nullopt;
    }
    std::optional<plat::IpxDatagram> datagram = endpoint->Receive();
    if (!datagram) {
        return std::nullopt;
    }
    return LanDatagram{FromIpx(datagram->source), std::move(datagram->data)};
}

std::string Reason(const char* what, const CardDescription& card, int error) {
    return std::string(what) + " of card " + card.name + ": " + std::strerror(error);
}

}  // namespace

CardLanPorts::CardLanPorts(const CardDescription& card, FrameSink onFrame) : onFrame_(std::move(onFrame)) {
    station_.bytes = card.mac;
}

std::unique_ptr<CardLanPorts> CardLanPorts::Open(const CardDescription& card, FrameSink onFrame,
                                                 std::string& error) {
    std::unique_ptr<CardLanPorts> ports(new CardLanPorts(card, std::move(onFrame)));
    int failure = 0;
    if ((card.protocols & Bit(Protocol::Ipx)) != 0) {
        ports->snmp_ = plat::IpxEndpoint::Open(ports->station_, SnmpIpxSocket, failure);
        if (ports->snmp_) {
            ports->service_ = plat::IpxEndpoint::Open(ports->station_, ServiceSocket, failure);
        }
        if (!ports->service_) {
            error = Reason("IPX sockets", card, failure);
            return nullptr;
        }
    }
    if ((card.protocols & Bit(Protocol::Dlc)) != 0) {
        ports->sap_ = plat::SapPort::Open(ports->station_, SnmpSap, *ports, failure);
        if (!ports->sap_) {
            error = Reason("SAP", card, failure);
            return nullptr;
        }
    }
    return ports;
}

CardLanPorts::~CardLanPorts() {
    // The SAP goes first: no frame may reach this object while it is taken apart.
    std::lock_guard lock(plat::LanLock());
    sap_.reset();
}

int CardLanPorts::SnmpFd() const {
    return snmp_ ? snmp_->Fd() : -1;
}
int CardLanPorts::ServiceFd() const {
    return service_ ? service_->Fd() : -1;
}
std::optional<LanDatagram> CardLanPorts::ReceiveSnmp() {
    return Take(snmp_.get());
}
std::optional<LanDatagram> CardLanPorts::ReceiveService() {
    return Take(service_.get());
}

bool CardLanPorts::Send(const Peer& to, std::span<const uint8_t> bytes) {
    if (to.protocol == Protocol::Ipx) {
        return snmp_ && snmp_->SendTo(ToIpx(to), PacketExchangeType, bytes) == 0;
    }
    plat::HardwareAddress destination;
    std::copy_n(to.address.begin(), 6, destination.bytes.begin());
    return sap_ &&
           plat::SendUiFrame(station_, SnmpSap, destination, static_cast<uint8_t>(to.port), bytes) == 0;
}

bool CardLanPorts::SendFromServiceSocket(const Peer& to, std::span<const uint8_t> bytes) {
    return service_ && service_->SendTo(ToIpx(to), PacketExchangeType, bytes) == 0;
}

void CardLanPorts::OnUiFrame(const plat::HardwareAddress& source, uint8_t sourceSap,
                             std::span<const uint8_t> data) {
    Peer from;
    from.protocol = Protocol::Dlc;
    std::copy(source.bytes.begin(), source.bytes.end(), from.address.begin());
    from.port = sourceSap;
    onFrame_(LanDatagram{from, std::vector<uint8_t>(data.begin(), data.end())});
}

// Print job links come with the job listener; until then a connection is refused.
void CardLanPorts::OnConnectRequest(const plat::HardwareAddress&, uint8_t) {}

}  // namespace sim
