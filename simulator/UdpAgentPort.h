#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulator/MibValue.h"
#include "simulator/Peer.h"

namespace sim {

struct UdpDatagram {
    std::vector<uint8_t> bytes;
    Peer from;
    Ipv4 destination{};  // the address it was sent to: a card's, or a broadcast
};

// The one UDP socket of every card: bound to the SNMP port on every address, so that a unicast
// to any card's 127.x.y.z address and a broadcast both arrive here; the destination address tells
// the cards apart, and each answer leaves from its card's own address.
class UdpAgentPort {
  public:
    // Null and the reason when the port cannot be had.
    static std::unique_ptr<UdpAgentPort> Open(uint16_t port, std::string& error);
    UdpAgentPort(const UdpAgentPort&) = delete;
    UdpAgentPort& operator=(const UdpAgentPort&) = delete;
    ~UdpAgentPort();

    int Fd() const { return fd_; }
    uint16_t Port() const { return port_; }
    // Waits for the next datagram; nullopt when the receive failed. Several threads may wait at once:
    // each datagram wakes one of them.
    std::optional<UdpDatagram> Receive();
    // Ends every wait in Receive, now and later (each then answers at once); sending goes on.
    void Shut();
    // Sends from `source` (0.0.0.0: whatever the route gives); false when it cannot go.
    bool Send(const Ipv4& source, const Peer& to, const std::vector<uint8_t>& bytes);

  private:
    UdpAgentPort(int fd, uint16_t port) : fd_(fd), port_(port) {}

    int fd_;
    uint16_t port_;
};

// The limited broadcast, or the broadcast of the loopback network the cards live on.
bool IsBroadcast(const Ipv4& address);

}  // namespace sim
