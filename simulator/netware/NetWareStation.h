#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/lan/IpxEndpoint.h"

namespace sim {

// A station of the simulated LAN on the NetWare socket that answers each request datagram on a thread
// of its own: the simulated NetWare network, or a test's station that answers in its place.
class NetWareStation {
  public:
    // The reply datagram to a request datagram; empty for none.
    using Answerer = std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t> datagram)>;

    NetWareStation(const plat::HardwareAddress& address, Answerer answer)
        : address_(address), answer_(std::move(answer)) {}
    ~NetWareStation() { Stop(); }
    NetWareStation(const NetWareStation&) = delete;
    NetWareStation& operator=(const NetWareStation&) = delete;

    // Joins the simulated LAN (VORLANE_LAN) once; false with the reason, named after `who`.
    bool Start(const std::string& who, std::string& error);
    void Stop();

  private:
    void Run();

    plat::HardwareAddress address_;
    Answerer answer_;
    std::unique_ptr<plat::IpxEndpoint> endpoint_;
    int wakeFd_ = -1;
    std::thread thread_;
};

}  // namespace sim
