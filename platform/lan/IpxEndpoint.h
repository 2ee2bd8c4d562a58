#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanFrame.h"
#include "platform/lan/LanPort.h"

namespace plat {

struct IpxDatagram {
    IpxAddress source;
    std::uint8_t packetType = 0;
    std::vector<std::uint8_t> data;
};

inline constexpr std::uint8_t kIpxPacketTypeSpx = 5;

// An IPX datagram socket of a station on the segment.
class IpxEndpoint {
  public:
    // Binds the socket number (0: a free dynamic one) of the station. Fails (null) with EADDRINUSE when
    // the socket of that station is bound already, in this or another process; ENETDOWN without a LAN.
    static std::unique_ptr<IpxEndpoint> Open(const HardwareAddress& station, std::uint16_t socket,
                                             int& error);
    ~IpxEndpoint();

    IpxAddress Address() const { return address_; }
    // A datagram socket, readable while a datagram waits (for polling and asynchronous notices only:
    // datagrams are taken with Receive).
    int Fd() const { return userFd_; }

    // 0, or EMSGSIZE for more than kIpxMaxData bytes. A datagram to another network than this one
    // (or network 0) is lost: the segment has no router.
    int SendTo(const IpxAddress& destination, std::uint8_t packetType, std::span<const std::uint8_t> data);
    // The next datagram, if one waits; with peek it stays for the next Receive.
    std::optional<IpxDatagram> Receive(bool peek = false);

  private:
    IpxEndpoint(std::unique_ptr<LanPort> port, const IpxAddress& address, int userFd, int engineFd);
    void OnReadable();
    bool Accepts(const IpxPacket& packet) const;

    std::unique_ptr<LanPort> port_;
    IpxAddress address_;
    int userFd_;
    int engineFd_;  // the engine hands each datagram that arrives to the program's end through this
    LanEngine::Id watch_ = 0;
};

}  // namespace plat
