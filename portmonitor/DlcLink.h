#pragma once

#include <memory>

#include "portmonitor/JobStreamLink.h"

#include "transport/DlcCommand.h"

// The job stream over an 802.2 link station (LLC type 2) to a hardware address of 12 hexadecimal
// digits and a remote SAP, through the DLC command layer. Each link opens a SAP of its own, so its
// outstanding I-frames and the remote station's busy state are the link's alone: two jobs on two
// ports run side by side. Every wait is bounded.
class DlcLink final : public JobStreamLink {
  public:
    explicit DlcLink(LinkTiming timing) : timing_(timing) {}
    ~DlcLink() override;

    // True once the library opened the DLC interface.
    static bool Available();

    LinkResult Connect(const char* address, std::uint16_t sap) override;
    LinkResult Send(const std::uint8_t* bytes, std::size_t count, std::size_t& taken) override;
    LinkResult Receive(std::uint8_t* buffer, std::size_t& length) override;
    LinkResult Close() override;
    // One packet per I-frame.
    std::size_t PacketsPerSend() const override { return 1; }

  private:
    enum class LinkState { Ready, Busy, Lost };

    LinkResult OpenStation(const std::uint8_t* remote, std::uint8_t remoteSap);
    // Takes the link's transmit completions and status changes, waiting at most waitMs for the first.
    LinkState Poll(std::uint32_t waitMs);
    // Polls until the link is ready or lost, or waitMs have passed.
    LinkState WaitReady(std::uint32_t waitMs);
    // The event of a completed READ: false when the link is lost.
    bool TakeEvent(const DlcReadCommand& read);
    void CloseSap();

    LinkTiming timing_;
    std::uint16_t linkStation_ = 0;
    std::uint16_t sapStation_ = 0;
    LinkResult state_ = kLinkNotConnected;
    bool remoteBusy_ = false;
};
