#include "platform/lan/LinkStation.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>

#include "platform/lan/SapPort.h"
#include "platform/lan/tests/LanTestSupport.h"

namespace plat {
namespace {

using Event = ReliableLink::Event;

const HardwareAddress kPc{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}};
const HardwareAddress kCard{{0x00, 0x00, 0xF0, 0x12, 0x34, 0x56}};
constexpr std::uint8_t kPcSap = 4;
constexpr std::uint8_t kCardSap = 8;

// One side of the tests: a SAP whose link stations (accepted or opened) report into one record.
class Side final : public SapPort::Handler, public LinkStation::Listener {
  public:
    Side(const HardwareAddress& station, std::uint8_t sap, bool acceptsLinks) : acceptsLinks_(acceptsLinks) {
        std::lock_guard guard(LanLock());
        int error = 0;
        port = SapPort::Open(station, sap, *this, error);
    }
    ~Side() {
        std::lock_guard guard(LanLock());
        link.reset();
        port.reset();
    }

    void OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                   std::span<const std::uint8_t> data) override {
        Record([&] { uiFrames.emplace_back(data.begin(), data.end()); });
    }
    void OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) override {
        if (!acceptsLinks_) {
            return;
        }
        int error = 0;
        link = LinkStation::Open(*port, source, sourceSap, 7, *this, error);
        link->Accept();
    }
    bool OnData(std::vector<std::uint8_t>& data) override {
        if (busy) {
            return false;
        }
        Record([&] { received.push_back(data); });
        return true;
    }
    void OnAcknowledged(std::size_t count) override {
        Record([&] { acknowledged += count; });
    }
    void OnEvent(Event event) override {
        Record([&] { events.push_back(event); });
    }

    void Connect(const HardwareAddress& remote, std::uint8_t remoteSap) {
        std::lock_guard guard(LanLock());
        int error = 0;
        link = LinkStation::Open(*port, remote, remoteSap, 7, *this, error);
        link->Connect();
    }
    void Send(std::vector<std::uint8_t> data) {
        std::lock_guard guard(LanLock());
        ASSERT_EQ(link->Send(std::move(data)), 0);
    }
    bool WaitFor(std::function<bool()> condition) {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(10), condition);
    }
    bool Saw(Event event) {
        return WaitFor([&] { return std::find(events.begin(), events.end(), event) != events.end(); });
    }

    std::unique_ptr<SapPort> port;
    std::unique_ptr<LinkStation> link;
    bool busy = false;  // under LanLock
    std::vector<std::vector<std::uint8_t>> uiFrames;
    std::vector<std::vector<std::uint8_t>> received;
    std::size_t acknowledged = 0;
    std::vector<Event> events;

  private:
    template <class Change>
    void Record(Change change) {
        std::lock_guard guard(lock_);
        change();
        changed_.notify_all();
    }

    bool acceptsLinks_;
    std::mutex lock_;
    std::condition_variable changed_;
};

class LinkStationTest : public ::testing::Test {
  protected:
    test::TempLan lan_;
    Side pc_{kPc, kPcSap, false};
    Side card_{kCard, kCardSap, true};
};

std::vector<std::uint8_t> Numbered(std::size_t i) {
    return std::vector<std::uint8_t>(1 + i % 300, static_cast<std::uint8_t>(i));
}

TEST_F(LinkStationTest, IFramesArriveInOrderDespiteLoss) {
    SetLanTiming(LanTiming{20, 60, 200});
    pc_.Connect(kCard, kCardSap);
    ASSERT_TRUE(pc_.Saw(Event::Connected));
    SetLanDropShare(0.25);
    constexpr std::size_t kFrames = 150;
    for (std::size_t i = 0; i < kFrames; ++i) {
        pc_.Send(Numbered(i));
    }
    ASSERT_TRUE(card_.WaitFor([&] { return card_.received.size() == kFrames; }));
    for (std::size_t i = 0; i < kFrames; ++i) {
        EXPECT_EQ(card_.received[i], Numbered(i)) << i;
    }
    EXPECT_TRUE(pc_.WaitFor([&] { return pc_.acknowledged == kFrames; }));
}

TEST_F(LinkStationTest, SenderSeesRemoteBusyAndItsEnd) {
    pc_.Connect(kCard, kCardSap);
    ASSERT_TRUE(pc_.Saw(Event::Connected));
    {
        std::lock_guard guard(LanLock());
        card_.busy = true;
    }
    pc_.Send(Numbered(1));
    ASSERT_TRUE(pc_.Saw(Event::RemoteBusy));
    pc_.Send(Numbered(2));
    {
        std::lock_guard guard(LanLock());
        card_.busy = false;
        card_.link->SetLocalBusy(false);
    }
    ASSERT_TRUE(pc_.Saw(Event::RemoteReady));
    ASSERT_TRUE(card_.WaitFor([&] { return card_.received.size() == 2; }));
    EXPECT_EQ(card_.received[0], Numbered(1));
    EXPECT_EQ(card_.received[1], Numbered(2));
}

TEST_F(LinkStationTest, DisconnectReachesThePeer) {
    pc_.Connect(kCard, kCardSap);
    ASSERT_TRUE(pc_.Saw(Event::Connected));
    {
        std::lock_guard guard(LanLock());
        pc_.link->Disconnect();
    }
    EXPECT_TRUE(card_.Saw(Event::PeerDisconnected));
    EXPECT_TRUE(pc_.Saw(Event::Closed));
}

TEST_F(LinkStationTest, SapThatTakesNoLinksRefusesAndAbsentSapNeverAnswers) {
    Side other{kCard, 6, false};
    pc_.Connect(kCard, 6);
    EXPECT_TRUE(pc_.Saw(Event::Refused));
    pc_.Connect(kCard, 0x20);
    EXPECT_TRUE(pc_.Saw(Event::ConnectFailed));
}

TEST_F(LinkStationTest, PeerThatVanishesIsLostToTheSender) {
    Side vanishing{kCard, 0x22, true};
    pc_.Connect(kCard, 0x22);
    ASSERT_TRUE(pc_.Saw(Event::Connected));
    {
        std::lock_guard guard(LanLock());
        SetLanDropShare(1.0);  // gone without a word, as when its process is killed
        vanishing.link.reset();
        vanishing.port.reset();
        SetLanDropShare(0);
    }
    pc_.Send(Numbered(3));
    EXPECT_TRUE(pc_.Saw(Event::Lost));
}

TEST_F(LinkStationTest, UiFrameToBroadcastReachesThatSapOfEveryStation) {
    Side second{HardwareAddress{{0x02, 0, 0, 0, 0, 0x0B}}, kCardSap, false};
    std::vector<std::uint8_t> data{1, 2, 3};
    ASSERT_EQ(SendUiFrame(kPc, kPcSap, kBroadcastAddress, kCardSap, data), 0);
    EXPECT_TRUE(card_.WaitFor([&] { return card_.uiFrames.size() == 1; }));
    EXPECT_TRUE(second.WaitFor([&] { return second.uiFrames.size() == 1; }));
    EXPECT_EQ(card_.uiFrames[0], data);
    EXPECT_TRUE(pc_.uiFrames.empty());
}

}  // namespace
}  // namespace plat
