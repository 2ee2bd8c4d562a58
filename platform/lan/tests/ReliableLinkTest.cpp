// The sequencing of a connection over a wire that loses, repeats and reorders frames, with a receiver
// that turns busy at random: what arrives is every frame once, in order (fixed seed and count).
#include "platform/lan/ReliableLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <random>
#include <thread>

#include "platform/lan/LanHooks.h"

namespace plat {
namespace {

using Frame = ReliableLink::Frame;

constexpr std::size_t kFrames = 300;

// One end of the connection. Everything here runs under LanLock().
class End final : public ReliableLink::Owner {
  public:
    explicit End(std::deque<Frame>& wire) : link(*this, 8), wire_(wire) {}

    void Transmit(const Frame& frame) override { wire_.push_back(frame); }
    bool Deliver(std::vector<std::uint8_t>& data, bool) override {
        if (refuseNext) {
            refuseNext = false;
            busy = true;
            return false;
        }
        received.push_back(data);
        return true;
    }
    void Acknowledged(std::size_t count) override { acknowledged += count; }
    void Notify(ReliableLink::Event event) override { events.push_back(event); }

    ReliableLink link;
    bool refuseNext = false;
    bool busy = false;
    std::vector<std::vector<std::uint8_t>> received;
    std::size_t acknowledged = 0;
    std::vector<ReliableLink::Event> events;

  private:
    std::deque<Frame>& wire_;
};

// Takes one frame off the wire, sometimes not the first, and delivers it, once, twice or not at all.
void Carry(std::deque<Frame>& wire, ReliableLink& to, std::mt19937& random) {
    if (wire.empty()) {
        return;
    }
    auto at =
        wire.begin() + std::uniform_int_distribution<long>(0, std::min<long>(3, wire.size() - 1))(random);
    Frame frame = *at;
    wire.erase(at);
    int fate = std::uniform_int_distribution<int>(0, 9)(random);
    if (fate >= 2) {  // 2 in 10 are lost
        to.OnFrame(frame);
    }
    if (fate == 9) {  // 1 in 10 arrives twice
        to.OnFrame(frame);
    }
}

TEST(ReliableLink, EveryFrameArrivesOnceInOrderOverABadWire) {
    LanTiming saved = GetLanTiming();
    SetLanTiming(LanTiming{5, 1000, 200});
    std::deque<Frame> toReceiver;
    std::deque<Frame> toSender;
    End sender(toReceiver);
    End receiver(toSender);
    std::mt19937 random(77);
    {
        std::lock_guard guard(LanLock());
        receiver.link.Accept();
        sender.link.Connect();
        for (std::size_t i = 0; i < kFrames; ++i) {
            sender.link.Send(std::vector<std::uint8_t>(1 + i % 7, static_cast<std::uint8_t>(i)));
        }
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (bool done = false; !done && std::chrono::steady_clock::now() < deadline;) {
        {
            std::lock_guard guard(LanLock());
            for (int i = 0; i < 4; ++i) {
                Carry(toReceiver, receiver.link, random);
                Carry(toSender, sender.link, random);
            }
            if (receiver.busy && std::uniform_int_distribution<int>(0, 3)(random) == 0) {
                receiver.busy = false;
                receiver.link.SetLocalBusy(false);
            } else if (!receiver.busy) {
                receiver.refuseNext = std::uniform_int_distribution<int>(0, 19)(random) == 0;
            }
            done = sender.acknowledged == kFrames && sender.link.Unconfirmed() == 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));  // the resend timers run meanwhile
    }
    std::lock_guard guard(LanLock());
    ASSERT_EQ(receiver.received.size(), kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
        EXPECT_EQ(receiver.received[i], std::vector<std::uint8_t>(1 + i % 7, static_cast<std::uint8_t>(i)))
            << i;
    }
    EXPECT_EQ(sender.acknowledged, kFrames);
    ASSERT_FALSE(sender.events.empty());
    EXPECT_EQ(sender.events.front(), ReliableLink::Event::Connected);
    for (ReliableLink::Event event : sender.events) {
        EXPECT_TRUE(event == ReliableLink::Event::Connected || event == ReliableLink::Event::RemoteBusy ||
                    event == ReliableLink::Event::RemoteReady)
            << "the link stays up: event " << static_cast<int>(event);
    }
    sender.link.Abort();
    receiver.link.Abort();
    SetLanTiming(saved);
}

// Carries every frame on the wire, in order, none lost.
void CarryAll(std::deque<Frame>& wire, ReliableLink& to) {
    while (!wire.empty()) {
        Frame frame = std::move(wire.front());
        wire.pop_front();
        to.OnFrame(frame);
    }
}

// Frames that reach a busy receiver behind the one it refused are answered busy, never with a
// reject: a reject reads as ready to the sender, which would resend into the busy receiver again.
TEST(ReliableLink, ABusyReceiverAnswersEveryFrameBusy) {
    LanTiming saved = GetLanTiming();
    SetLanTiming(LanTiming{60000, 8, 200});  // no resend by timer: only the answers drive the sender
    std::deque<Frame> toReceiver;
    std::deque<Frame> toSender;
    End sender(toReceiver);
    End receiver(toSender);
    std::lock_guard guard(LanLock());
    receiver.link.Accept();
    sender.link.Connect();
    CarryAll(toReceiver, receiver.link);
    CarryAll(toSender, sender.link);
    receiver.refuseNext = true;
    for (std::uint8_t i = 0; i < 5; ++i) {
        sender.link.Send({i});
    }
    CarryAll(toReceiver, receiver.link);
    for (const Frame& answer : toSender) {
        EXPECT_EQ(answer.kind, ReliableLink::FrameKind::Busy);
    }
    CarryAll(toSender, sender.link);
    EXPECT_TRUE(sender.link.RemoteBusy());
    EXPECT_TRUE(toReceiver.empty()) << "nothing is resent while the receiver is busy";
    EXPECT_EQ(sender.events, (std::vector{ReliableLink::Event::Connected, ReliableLink::Event::RemoteBusy}));

    receiver.link.SetLocalBusy(false);
    for (int round = 0; round < 4 && (!toSender.empty() || !toReceiver.empty()); ++round) {
        CarryAll(toSender, sender.link);
        CarryAll(toReceiver, receiver.link);
    }
    EXPECT_EQ(receiver.received, (std::vector<std::vector<std::uint8_t>>{{0}, {1}, {2}, {3}, {4}}));
    EXPECT_EQ(sender.link.Unconfirmed(), 0u);
    sender.link.Abort();
    receiver.link.Abort();
    SetLanTiming(saved);
}

}  // namespace
}  // namespace plat
