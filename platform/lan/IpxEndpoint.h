#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanFrame.h"
#include "platform/lan/LanPort.h"
#include "platform/lan/PollableQueue.h"

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
    // Readable while a datagram waits.
    int Fd() const { return queue_.Fd(); }

    // 0, or EMSGSIZE for more than kIpxMaxData bytes. A datagram to another network than this one
    // (or network 0) is lost: the segment has no router.
    int SendTo(const IpxAddress& destination, std::uint8_t packetType, std::span<const std::uint8_t> data);
    std::optional<IpxDatagram> Receive() { return queue_.Pop(); }
    std::optional<IpxDatagram> Peek() { return queue_.Peek(); }

  private:
    IpxEndpoint(std::unique_ptr<LanPort> port, const IpxAddress& address);
    void OnReadable();
    bool Accepts(const IpxPacket& packet) const;

    std::unique_ptr<LanPort> port_;
    IpxAddress address_;
    PollableQueue<IpxDatagram> queue_;
    LanEngine::Id watch_ = 0;
};

}  // namespace plat
