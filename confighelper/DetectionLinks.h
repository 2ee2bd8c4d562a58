#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/window/Window.h"
#include "transport/DatagramTransport.h"
#include "transport/WinsockTable.h"

// The four transports of one detection and the one wait on all of them: the IPX request and IPX
// service-query transports, the UDP transport and the DLC transport (SAP 14). Every arriving datagram
// is announced to the calling thread's message queue (socket notices to a hidden window of the
// detection's own, DLC notices from its reader thread), so that waiting is one pump of that queue
// with the time left, which also keeps the caller's windows served. A notice drains its transport
// completely.
class DetectionLinks {
  public:
    enum Link { kIpxRequest, kUdp, kDlc, kIpxService, kLinkCount };
    // One received datagram and its sender's address bytes (4 UDP, 10 IPX, 6 DLC).
    using Handler = std::function<void(Link link, const std::uint8_t* datagram, std::uint32_t length,
                                       const std::uint8_t* sender)>;

    explicit DetectionLinks(Handler handler);
    ~DetectionLinks();
    DetectionLinks(const DetectionLinks&) = delete;
    DetectionLinks& operator=(const DetectionLinks&) = delete;

    DatagramTransport& Transport(Link link) { return *transports_[link]; }

    // Asks for notices of every transport that has something to receive on (after the first send
    // for the UDP transport, which takes its port then).
    void StartNotices();

    // Pumps the thread's messages until `done` answers true or the tick count reaches `deadline`.
    // False when the thread was told to quit meanwhile (the quit is posted again when the links go).
    bool PumpUntil(std::uint32_t deadline, const std::function<bool()>& done);

    // Takes every datagram waiting on every transport.
    void DrainAll();

  private:
    void Drain(Link link);
    void OnSocketNotice(plat::WParam socket);

    Handler handler_;
    std::unique_ptr<DatagramTransport> transports_[kLinkCount];
    WinsockTable sockets_;
    plat::WindowHandle window_ = 0;
    bool quit_ = false;
};
