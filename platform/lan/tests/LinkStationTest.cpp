#include "platform/lan/LinkStation.h"

#include <gtest/gtest.h>

#include "platform/lan/tests/LanTestSupport.h"
#include "platform/lan/tests/LinkSide.h"

namespace plat {
namespace {

using Event = ReliableLink::Event;
using test::LinkSide;

const HardwareAddress kPc{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}};
const HardwareAddress kCard{{0x00, 0x00, 0xF0, 0x12, 0x34, 0x56}};
constexpr std::uint8_t kPcSap = 4;
constexpr std::uint8_t kCardSap = 8;

class LinkStationTest : public ::testing::Test {
  protected:
    test::TempLan lan_;
    LinkSide pc_{kPc, kPcSap, false};
    LinkSide card_{kCard, kCardSap, true};
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
    LinkSide other{kCard, 6, false};
    pc_.Connect(kCard, 6);
    EXPECT_TRUE(pc_.Saw(Event::Refused));
    pc_.Connect(kCard, 0x20);
    EXPECT_TRUE(pc_.Saw(Event::ConnectFailed));
}

TEST_F(LinkStationTest, PeerThatVanishesIsLostToTheSender) {
    LinkSide vanishing{kCard, 0x22, true};
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
    LinkSide second{HardwareAddress{{0x02, 0, 0, 0, 0, 0x0B}}, kCardSap, false};
    std::vector<std::uint8_t> data{1, 2, 3};
    ASSERT_EQ(SendUiFrame(kPc, kPcSap, kBroadcastAddress, kCardSap, data), 0);
    EXPECT_TRUE(card_.WaitFor([&] { return card_.uiFrames.size() == 1; }));
    EXPECT_TRUE(second.WaitFor([&] { return second.uiFrames.size() == 1; }));
    EXPECT_EQ(card_.uiFrames[0], data);
    EXPECT_TRUE(pc_.uiFrames.empty());
}

}  // namespace
}  // namespace plat
