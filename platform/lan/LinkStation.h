#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/lan/LanFrame.h"
#include "platform/lan/LlcControl.h"
#include "platform/lan/ReliableLink.h"

namespace plat {

class SapPort;

// An 802.2 link station (LLC type 2): a connection between a SAP of this station and a SAP of a
// remote one, carrying I-frames in order with acknowledgement, receiver-busy and resend, and reporting
// the link's events. Used under LanLock(); the listener is called back on the engine thread.
class LinkStation final : private ReliableLink::Owner {
  public:
    class Listener {
      public:
        // An I-frame in sequence; false when it cannot be taken now (the station is then busy
        // towards the remote one until SetLocalBusy(false)).
        virtual bool OnData(std::vector<std::uint8_t>& data) = 0;
        virtual void OnAcknowledged(std::size_t count) = 0;
        virtual void OnEvent(ReliableLink::Event event) = 0;

      protected:
        ~Listener() = default;
    };

    // Null with EADDRINUSE when the SAP has a station for that remote station and SAP already.
    static std::unique_ptr<LinkStation> Open(SapPort& sap, const HardwareAddress& remote,
                                             std::uint8_t remoteSap, std::uint8_t window, Listener& listener,
                                             int& error);
    ~LinkStation();  // a link still open is refused towards the remote station

    HardwareAddress Remote() const { return remote_; }
    std::uint8_t RemoteSap() const { return remoteSap_; }
    ReliableLink::State State() const { return link_.GetState(); }
    bool RemoteBusy() const { return link_.RemoteBusy(); }
    std::size_t Unconfirmed() const { return link_.Unconfirmed(); }

    void Connect() { link_.Connect(); }
    void Accept() { link_.Accept(); }
    // 0, EMSGSIZE for more than kLlcMaxData bytes, ENOTCONN when the link is not open.
    int Send(std::vector<std::uint8_t> data);
    void Disconnect() { link_.Disconnect(); }
    void SetLocalBusy(bool busy) { link_.SetLocalBusy(busy); }

    // A frame of this link, from the SAP.
    void OnFrame(const LlcFrame& frame);

  private:
    LinkStation(SapPort& sap, const HardwareAddress& remote, std::uint8_t remoteSap, std::uint8_t window,
                Listener& listener);
    void Transmit(const ReliableLink::Frame& frame) override;
    bool Deliver(std::vector<std::uint8_t>& data, bool end) override;
    void Acknowledged(std::size_t count) override;
    void Notify(ReliableLink::Event event) override;

    SapPort& sap_;
    HardwareAddress remote_;
    std::uint8_t remoteSap_;
    Listener& listener_;
    ReliableLink link_;
};

}  // namespace plat
