#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/lan/LanEngine.h"

namespace plat {

// The sequencing of one connection of the segment, shared by SPX connections and 802.2 link
// stations: connect and disconnect handshakes, numbered frames (modulo 128) sent within a window,
// cumulative acknowledgement, go-back-N resend on time-out or reject, receiver-not-ready (busy) in
// both directions, and loss of the link after too many unanswered resends. The owner turns frames
// into bytes on the segment and back. Used under LanLock().
class ReliableLink {
  public:
    enum class FrameKind : std::uint8_t {
        ConnectRequest,
        Confirm,
        Refuse,
        Disconnect,
        Data,
        Ready,
        Busy,
        Reject
    };
    struct Frame {
        FrameKind kind = FrameKind::Ready;
        std::uint8_t ns = 0;  // Data: its number
        std::uint8_t nr = 0;  // Data, Ready, Busy, Reject: the next number the sender expects
        bool poll = false;    // asks the peer to tell its state (Ready or Busy) at once
        bool end = false;     // Data: the sender's last (end of stream)
        std::vector<std::uint8_t> data;
    };

    enum class Event {
        Connected,
        ConnectFailed,  // no answer to the connect request
        Refused,        // the peer refused to connect
        RemoteBusy,
        RemoteReady,
        PeerDisconnected,  // the peer closed the link
        PeerReset,         // the peer refused a frame of an open link (it no longer knows it)
        Lost,              // no answer after every resend
        Closed,            // a disconnect that this side asked for has completed
    };

    enum class State { Idle, Connecting, Connected, Disconnecting, Closed };

    class Owner {
      public:
        virtual void Transmit(const Frame& frame) = 0;
        // A data frame in sequence. False when the owner cannot take it now: the link then tells the
        // peer it is busy until SetLocalBusy(false).
        virtual bool Deliver(std::vector<std::uint8_t>& data, bool end) = 0;
        virtual void Acknowledged(std::size_t count) = 0;
        // May not destroy the link while it runs.
        virtual void Notify(Event event) = 0;

      protected:
        ~Owner() = default;
    };

    ReliableLink(Owner& owner, std::uint8_t window);
    ~ReliableLink();
    ReliableLink(const ReliableLink&) = delete;
    ReliableLink& operator=(const ReliableLink&) = delete;

    State GetState() const { return state_; }
    bool RemoteBusy() const { return remoteBusy_; }
    // Data frames given to Send and not yet acknowledged.
    std::size_t Unconfirmed() const { return unacked_.size() + unsent_.size(); }

    void Connect();
    // Answers the peer's connect request.
    void Accept();
    void Send(std::vector<std::uint8_t> data, bool end = false);
    // Closes the link with the peer's agreement (or after its silence); Closed follows.
    void Disconnect();
    // Closes at once, telling the peer with a refusal.
    void Abort();
    void SetLocalBusy(bool busy);
    void OnFrame(const Frame& frame);

  private:
    void OnConnectedFrame(const Frame& frame);
    void Acknowledge(std::uint8_t nr);
    void Receive(const Frame& frame);
    void OnStatus(const Frame& frame);
    void Pump();
    void ResendUnacknowledged();
    void SendStatus(FrameKind kind, bool poll);
    void SendControl(FrameKind kind);
    void OnTimer();
    void StartTimer();
    void StopTimer();
    void Close(Event event);
    void Reset();

    Owner& owner_;
    std::uint8_t window_;
    State state_ = State::Idle;
    std::uint8_t vs_ = 0;  // number of the next new data frame
    std::uint8_t va_ = 0;  // number of the oldest unacknowledged one
    std::uint8_t vr_ = 0;  // number expected next from the peer
    std::deque<Frame> unacked_;
    std::deque<Frame> unsent_;
    bool remoteBusy_ = false;
    bool localBusy_ = false;
    bool rejectSent_ = false;
    std::uint32_t retries_ = 0;
    LanEngine::Id timer_ = 0;
};

}  // namespace plat
