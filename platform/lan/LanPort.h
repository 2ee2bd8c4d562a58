#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/lan/HardwareAddress.h"

// Endpoints of the segment: each bound endpoint of any process (an IPX socket, an SPX listener or
// connection, an 802.2 SAP) is a Unix-domain datagram socket in the segment's folder, named by its kind,
// its station and its number, e.g. "I00A0B1C2D3E4-900F". The name makes an endpoint unique across
// processes and lets a sender reach it without asking anyone; a broadcast goes to every endpoint of the
// kind and number.
namespace plat {

enum class EndpointKind : char { Ipx = 'I', SpxListener = 'S', SpxConnection = 'C', Sap = 'L' };

std::string EndpointName(EndpointKind kind, const HardwareAddress& station, unsigned number);

// Socket numbers given to IPX and SPX sockets bound to socket 0.
inline constexpr unsigned kFirstDynamicSocket = 0x4000;
inline constexpr unsigned kDynamicSockets = 0x4000;

class LanPort {
  public:
    // Binds the endpoint. Fails (null) with EADDRINUSE while a live endpoint of any process holds the
    // name (one left behind by an ended process is taken over), with ENETDOWN when no LAN is configured.
    static std::unique_ptr<LanPort> Bind(const std::string& name, int& error);
    // Binds the first free one of `count` numbers from `first` (the search starts at a random one, so
    // that a number is not soon given out again) and tells which; EADDRINUSE when all are taken.
    static std::unique_ptr<LanPort> BindFree(EndpointKind kind, const HardwareAddress& station,
                                             unsigned first, unsigned count, std::uint16_t& number,
                                             int& error);
    ~LanPort();
    LanPort(const LanPort&) = delete;
    LanPort& operator=(const LanPort&) = delete;

    int Fd() const { return fd_; }
    const std::string& Name() const { return name_; }
    // Takes the next frame that has arrived; false when none waits. Frames longer than the segment
    // carries are discarded here.
    bool Receive(std::vector<std::uint8_t>& frame);

  private:
    LanPort(int fd, std::string name, std::string path);

    int fd_;
    std::string name_;
    std::string path_;
};

enum class LanSendMode {
    WaitForRoom,  // a datagram of a program: waits a little for room at a busy receiver
    NoWait,       // a frame of a connection: lost when the receiver has no room (it is resent)
};

// Sends a frame to the endpoint of that name. A missing or dead endpoint loses it, as a LAN does. The
// test hooks (loss, delay) apply here.
void LanSend(const std::string& name, std::span<const std::uint8_t> frame, LanSendMode mode);
// Sends a frame to every endpoint of that kind and number, whatever its station.
void LanSendToAll(EndpointKind kind, unsigned number, std::span<const std::uint8_t> frame, LanSendMode mode);
// True while an endpoint of that name exists (a live one or one left behind).
bool LanEndpointExists(const std::string& name);
// True while any endpoint of the station exists.
bool LanStationPresent(const HardwareAddress& station);

}  // namespace plat
