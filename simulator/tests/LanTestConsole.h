#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/SapPort.h"
#include "simulator/CardLanPorts.h"

namespace sim::test {

// The console's station on the simulated segment.
inline const plat::HardwareAddress ConsoleStation{{0x02, 0x00, 0x00, 0x00, 0x0C, 0x01}};

// An IPX socket of the console station.
class IpxTestSocket {
  public:
    explicit IpxTestSocket(uint16_t socket = 0);
    bool SendTo(const plat::IpxAddress& to, const std::vector<uint8_t>& bytes);
    std::optional<LanDatagram> Receive(std::chrono::milliseconds wait);

  private:
    std::unique_ptr<plat::IpxEndpoint> endpoint_;
};

// A SAP of the console station that keeps the UI frames it receives.
class DlcTestSap : private plat::SapPort::Handler {
  public:
    explicit DlcTestSap(uint8_t sap);
    ~DlcTestSap();
    bool SendTo(const plat::HardwareAddress& to, uint8_t sap, const std::vector<uint8_t>& bytes);
    std::optional<LanDatagram> Receive(std::chrono::milliseconds wait);

  private:
    void OnUiFrame(const plat::HardwareAddress& source, uint8_t sourceSap,
                   std::span<const uint8_t> data) override;
    void OnConnectRequest(const plat::HardwareAddress&, uint8_t) override {}

    uint8_t sap_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<LanDatagram> frames_;
    std::unique_ptr<plat::SapPort> port_;
};

}  // namespace sim::test
