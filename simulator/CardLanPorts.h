#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/SapPort.h"
#include "simulator/CardDescription.h"
#include "simulator/Peer.h"

namespace sim {

inline constexpr uint8_t SnmpSap = 10;

struct LanDatagram {
    Peer from;
    std::vector<uint8_t> bytes;
};

// A card's endpoints on the simulated LAN segment: its SNMP socket 0x900F and the service socket
// 0x452 when it speaks IPX, its SAP 10 when it speaks DLC. IPX datagrams wait to be taken; DLC
// frames are handed to `onFrame` on the segment's thread as they come.
class CardLanPorts final : private plat::SapPort::Handler {
  public:
    using FrameSink = std::function<void(LanDatagram)>;

    static std::unique_ptr<CardLanPorts> Open(const CardDescription& card, FrameSink onFrame,
                                              std::string& error);
    ~CardLanPorts();

    // -1 when the card has no IPX.
    int SnmpFd() const;
    int ServiceFd() const;
    std::optional<LanDatagram> ReceiveSnmp();
    std::optional<LanDatagram> ReceiveService();

    // From the card's SNMP socket or SAP, by the peer's protocol; false when it cannot go.
    bool Send(const Peer& to, std::span<const uint8_t> bytes);
    bool SendFromServiceSocket(const Peer& to, std::span<const uint8_t> bytes);

  private:
    explicit CardLanPorts(const CardDescription& card, FrameSink onFrame);
    void OnUiFrame(const plat::HardwareAddress& source, uint8_t sourceSap,
                   std::span<const uint8_t> data) override;
    void OnConnectRequest(const plat::HardwareAddress& source, uint8_t sourceSap) override;

    plat::HardwareAddress station_;
    FrameSink onFrame_;
    std::unique_ptr<plat::IpxEndpoint> snmp_;
    std::unique_ptr<plat::IpxEndpoint> service_;
    std::unique_ptr<plat::SapPort> sap_;
};

}  // namespace sim
