#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "simulator/MibValue.h"

namespace sim::test {

struct Received {
    std::vector<uint8_t> bytes;
    Ipv4 from{};
    uint16_t port = 0;
};

// A console's UDP socket: broadcast allowed, a receive buffer that holds a crowd of answers.
class UdpTestClient {
  public:
    explicit UdpTestClient(uint16_t localPort = 0);
    ~UdpTestClient();
    UdpTestClient(const UdpTestClient&) = delete;
    UdpTestClient& operator=(const UdpTestClient&) = delete;

    bool SendTo(const Ipv4& address, uint16_t port, const std::vector<uint8_t>& bytes);
    std::optional<Received> Receive(std::chrono::milliseconds wait);

  private:
    int fd_;
};

}  // namespace sim::test
