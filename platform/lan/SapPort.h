#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <utility>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanFrame.h"
#include "platform/lan/LanPort.h"

namespace plat {

class LinkStation;

// An open 802.2 SAP of a station: it takes UI frames addressed to it (or broadcast to its SAP value),
// and carries the frames of its link stations, one per remote station and SAP.
class SapPort {
  public:
    // Called on the segment's engine thread, under LanLock().
    class Handler {
      public:
        virtual void OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                               std::span<const std::uint8_t> data) = 0;
        // A remote station asks for a link that this SAP has no station for. Opening a LinkStation for
        // it and accepting it answers the request; otherwise it is refused.
        virtual void OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) = 0;

      protected:
        ~Handler() = default;
    };

    // Fails (null) with EADDRINUSE when the SAP of that station is open already, in this or another
    // process; ENETDOWN without a LAN.
    static std::unique_ptr<SapPort> Open(const HardwareAddress& station, std::uint8_t sap, Handler& handler,
                                         int& error);
    ~SapPort();

    HardwareAddress Station() const { return station_; }
    std::uint8_t Sap() const { return sap_; }

  private:
    friend class LinkStation;
    SapPort(std::unique_ptr<LanPort> port, const HardwareAddress& station, std::uint8_t sap,
            Handler& handler);
    bool Attach(LinkStation& station);
    void Detach(LinkStation& station);
    void SendLinkFrame(const HardwareAddress& destination, std::uint8_t destinationSap,
                       std::array<std::uint8_t, 2> control, std::span<const std::uint8_t> data);
    void OnReadable();
    void Dispatch(const LlcFrame& frame);

    std::unique_ptr<LanPort> port_;
    HardwareAddress station_;
    std::uint8_t sap_;
    Handler& handler_;
    std::map<std::pair<HardwareAddress, std::uint8_t>, LinkStation*> stations_;
    LanEngine::Id watch_ = 0;
};

// Sends one UI frame from a SAP of a station; to kBroadcastAddress it reaches that SAP of every
// station. 0, or EMSGSIZE for more than kLlcMaxData bytes. Call it without holding LanLock(): it may
// wait a little for room at a busy receiver.
int SendUiFrame(const HardwareAddress& source, std::uint8_t sourceSap, const HardwareAddress& destination,
                std::uint8_t destinationSap, std::span<const std::uint8_t> data);

}  // namespace plat
