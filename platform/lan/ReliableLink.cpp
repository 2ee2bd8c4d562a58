#include "platform/lan/ReliableLink.h"

#include "platform/lan/LanHooks.h"

namespace plat {

namespace {

constexpr std::uint8_t kModulus = 128;

std::uint8_t Next(std::uint8_t number) {
    return static_cast<std::uint8_t>((number + 1) % kModulus);
}

std::size_t Distance(std::uint8_t from, std::uint8_t to) {
    return static_cast<std::size_t>((to - from + kModulus) % kModulus);
}

}  // namespace

ReliableLink::ReliableLink(Owner& owner, std::uint8_t window)
    : owner_(owner), window_(window == 0 ? 1 : std::min<std::uint8_t>(window, kModulus - 1)) {}

ReliableLink::~ReliableLink() {
    StopTimer();
}

void ReliableLink::Connect() {
    Reset();
    state_ = State::Connecting;
    SendControl(FrameKind::ConnectRequest);
    StartTimer();
}

void ReliableLink::Accept() {
    Reset();
    state_ = State::Connected;
    SendControl(FrameKind::Confirm);
}

void ReliableLink::Send(std::vector<std::uint8_t> data, bool end) {
    Frame frame;
    frame.kind = FrameKind::Data;
    frame.end = end;
    frame.data = std::move(data);
    unsent_.push_back(std::move(frame));
    Pump();
}

void ReliableLink::Disconnect() {
    if (state_ == State::Connected || state_ == State::Connecting) {
        state_ = State::Disconnecting;
        retries_ = 0;
        SendControl(FrameKind::Disconnect);
        StartTimer();
    }
}

void ReliableLink::Abort() {
    if (state_ != State::Idle && state_ != State::Closed) {
        SendControl(FrameKind::Refuse);
    }
    state_ = State::Closed;
    StopTimer();
}

void ReliableLink::SetLocalBusy(bool busy) {
    if (busy == localBusy_) {
        return;
    }
    localBusy_ = busy;
    if (state_ == State::Connected) {
        SendStatus(busy ? FrameKind::Busy : FrameKind::Ready, false);
    }
}

void ReliableLink::OnFrame(const Frame& frame) {
    switch (state_) {
        case State::Connecting:
            if (frame.kind == FrameKind::Confirm) {
                StopTimer();
                state_ = State::Connected;
                owner_.Notify(Event::Connected);
                Pump();
            } else if (frame.kind == FrameKind::Refuse) {
                Close(Event::Refused);
            }
            break;
        case State::Connected:
            OnConnectedFrame(frame);
            break;
        case State::Disconnecting:
            if (frame.kind == FrameKind::Disconnect) {
                SendControl(FrameKind::Confirm);
            }
            if (frame.kind == FrameKind::Disconnect || frame.kind == FrameKind::Confirm ||
                frame.kind == FrameKind::Refuse) {
                Close(Event::Closed);
            }
            break;
        case State::Idle:
        case State::Closed:
            break;
    }
}

void ReliableLink::OnConnectedFrame(const Frame& frame) {
    retries_ = 0;  // the peer is there
    switch (frame.kind) {
        case FrameKind::ConnectRequest:  // our confirm was lost
            SendControl(FrameKind::Confirm);
            break;
        case FrameKind::Confirm:
            break;
        case FrameKind::Refuse:
            Close(Event::PeerReset);
            break;
        case FrameKind::Disconnect:
            SendControl(FrameKind::Confirm);
            Close(Event::PeerDisconnected);
            break;
        case FrameKind::Data:
            Acknowledge(frame.nr);
            if (state_ == State::Connected) {
                Receive(frame);
            }
            break;
        case FrameKind::Ready:
        case FrameKind::Busy:
        case FrameKind::Reject:
            OnStatus(frame);
            break;
    }
}

void ReliableLink::Acknowledge(std::uint8_t nr) {
    std::size_t count = Distance(va_, nr);
    if (count == 0 || count > unacked_.size()) {
        return;  // nothing new, or a number that was never sent
    }
    unacked_.erase(unacked_.begin(), unacked_.begin() + static_cast<std::ptrdiff_t>(count));
    va_ = nr;
    if (unacked_.empty() && !remoteBusy_) {
        StopTimer();
    } else {
        StopTimer();
        StartTimer();
    }
    owner_.Acknowledged(count);
}

void ReliableLink::Receive(const Frame& frame) {
    // A busy receiver takes no frame and says only that it is busy: a reject would tell the sender
    // it is ready and start a storm of resends and busy answers.
    if (localBusy_) {
        SendStatus(FrameKind::Busy, false);
        return;
    }
    if (frame.ns != vr_) {
        if (!rejectSent_ || frame.poll) {
            rejectSent_ = true;
            SendStatus(FrameKind::Reject, false);
        }
        return;
    }
    std::vector<std::uint8_t> data = frame.data;
    if (!owner_.Deliver(data, frame.end)) {
        localBusy_ = true;
        SendStatus(FrameKind::Busy, false);
        return;
    }
    rejectSent_ = false;
    vr_ = Next(vr_);
    SendStatus(FrameKind::Ready, false);
}

void ReliableLink::OnStatus(const Frame& frame) {
    Acknowledge(frame.nr);
    if (state_ != State::Connected) {
        return;
    }
    bool wasBusy = remoteBusy_;
    remoteBusy_ = frame.kind == FrameKind::Busy;
    if (remoteBusy_ && !wasBusy) {
        owner_.Notify(Event::RemoteBusy);
        StartTimer();  // poll until the peer is ready again
    } else if (!remoteBusy_ && wasBusy) {
        owner_.Notify(Event::RemoteReady);
    }
    if (frame.poll) {
        SendStatus(localBusy_ ? FrameKind::Busy : FrameKind::Ready, false);
    }
    if ((frame.kind == FrameKind::Reject || (wasBusy && !remoteBusy_)) && !unacked_.empty()) {
        ResendUnacknowledged();
    }
    Pump();
}

void ReliableLink::Pump() {
    while (state_ == State::Connected && !remoteBusy_ && !unsent_.empty() && unacked_.size() < window_) {
        Frame frame = std::move(unsent_.front());
        unsent_.pop_front();
        frame.ns = vs_;
        frame.nr = vr_;
        vs_ = Next(vs_);
        unacked_.push_back(std::move(frame));
        owner_.Transmit(unacked_.back());
        StartTimer();
    }
}

void ReliableLink::ResendUnacknowledged() {
    for (Frame& frame : unacked_) {
        frame.nr = vr_;
        frame.poll = &frame == &unacked_.back();
        owner_.Transmit(frame);
    }
    StopTimer();
    StartTimer();
}

void ReliableLink::SendStatus(FrameKind kind, bool poll) {
    Frame frame;
    frame.kind = kind;
    frame.nr = vr_;
    frame.poll = poll;
    owner_.Transmit(frame);
}

void ReliableLink::SendControl(FrameKind kind) {
    Frame frame;
    frame.kind = kind;
    owner_.Transmit(frame);
}

void ReliableLink::OnTimer() {
    timer_ = 0;
    if (++retries_ > GetLanTiming().retries) {
        Close(state_ == State::Connecting      ? Event::ConnectFailed
              : state_ == State::Disconnecting ? Event::Closed
                                               : Event::Lost);
        return;
    }
    switch (state_) {
        case State::Connecting:
            SendControl(FrameKind::ConnectRequest);
            break;
        case State::Disconnecting:
            SendControl(FrameKind::Disconnect);
            break;
        case State::Connected:
            if (remoteBusy_) {
                SendStatus(localBusy_ ? FrameKind::Busy : FrameKind::Ready, true);
            } else if (!unacked_.empty()) {
                ResendUnacknowledged();
            } else {
                return;  // nothing outstanding: the link rests
            }
            break;
        case State::Idle:
        case State::Closed:
            return;
    }
    StartTimer();
}

void ReliableLink::StartTimer() {
    if (timer_ == 0) {
        timer_ = LanEngine::Get().After(GetLanTiming().retransmitMs, [this] { OnTimer(); });
    }
}

void ReliableLink::StopTimer() {
    if (timer_ != 0) {
        LanEngine::Get().Cancel(timer_);
        timer_ = 0;
    }
}

void ReliableLink::Close(Event event) {
    state_ = State::Closed;
    StopTimer();
    owner_.Notify(event);
    unacked_.clear();
    unsent_.clear();
}

void ReliableLink::Reset() {
    vs_ = va_ = vr_ = 0;
    unacked_.clear();
    unsent_.clear();
    remoteBusy_ = localBusy_ = rejectSent_ = false;
    retries_ = 0;
    StopTimer();
}

}  // namespace plat
