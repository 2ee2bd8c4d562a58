#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanPort.h"
#include "platform/lan/PollableQueue.h"
#include "platform/lan/SpxConnection.h"

namespace plat {

// A bound SPX socket of a station. Once listening it answers connect requests, up to the backlog of
// connections not yet taken; before that, and beyond the backlog, it refuses them.
class SpxListener {
  public:
    // Fails (null) with EADDRINUSE when the socket of that station is bound already; 0: a dynamic one.
    static std::unique_ptr<SpxListener> Open(const HardwareAddress& station, std::uint16_t socket,
                                             int& error);
    ~SpxListener();  // connections not yet taken are reset

    IpxAddress Address() const { return address_; }
    void Listen(std::size_t backlog);
    bool Listening() const;
    // Readable while a connection waits to be taken.
    int Fd() const { return accepted_.Fd(); }
    std::shared_ptr<SpxConnection> Accept() { return accepted_.Pop().value_or(nullptr); }

  private:
    SpxListener(std::unique_ptr<LanPort> port, const IpxAddress& address);
    void OnReadable();
    void OnRequest(const SpxPacket& request);
    void Refuse(const SpxPacket& request);

    std::unique_ptr<LanPort> port_;
    IpxAddress address_;
    PollableQueue<std::shared_ptr<SpxConnection>> accepted_;
    std::size_t backlog_ = 0;
    bool listening_ = false;
    std::map<std::pair<HardwareAddress, std::uint16_t>, std::weak_ptr<SpxConnection>> answered_;
    LanEngine::Id watch_ = 0;
};

}  // namespace plat
