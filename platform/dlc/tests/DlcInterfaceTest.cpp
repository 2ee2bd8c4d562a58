#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dlc/tests/DlcTestClient.h"
#include "platform/lan/tests/LanTestSupport.h"
#include "platform/services/ModuleLoader.h"

namespace plat {
namespace {

using test::DlcClient;

const HardwareAddress kPc{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}};
const HardwareAddress kCard{{0x00, 0x00, 0xF0, 0x12, 0x34, 0x56}};
constexpr std::uint8_t kTrapSap = 12;
constexpr std::uint8_t kDiscoverySap = 14;
constexpr std::uint8_t kDeviceSap = 10;
constexpr std::uint8_t kJobSap = 8;

std::vector<std::uint8_t> Numbered(std::size_t i, std::size_t size = 0) {
    return std::vector<std::uint8_t>(size != 0 ? size : 1 + i % 200, static_cast<std::uint8_t>(i));
}

TEST(DlcWithoutLan, EveryCommandAnswersNotInstalled) {
    unsetenv("VORLANE_LAN");
    DlcClient client;
    EXPECT_EQ(client.openStatus, kDlcStatusNotInstalled);
    DlcCommandBlock status = client.Block(kDlcDirStatus, nullptr);
    EXPECT_EQ(AcsLan(&status), kDlcStatusNotInstalled);
    EXPECT_EQ(status.status, kDlcStatusNotInstalled);
}

TEST(DlcBinding, AcsLanIsFoundByTheInterfaceName) {
    ModuleHandle module = LoadModule("DLCAPI.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModuleSymbol(module, "AcsLan"), reinterpret_cast<void*>(&AcsLan));
    FreeModule(module);
}

class DlcTest : public ::testing::Test {
  protected:
    test::TempLan lan_;
};

TEST_F(DlcTest, EachAdapterOpenHasItsOwnIdAndReportsItsAddressInAdapterForm) {
    setenv("VORLANE_STATION", "0000F0123456", 1);
    DlcClient first;
    DlcClient second;
    unsetenv("VORLANE_STATION");
    ASSERT_EQ(first.openStatus, kDlcStatusSuccess);
    EXPECT_NE(first.applicationId, second.applicationId);
    DlcDirStatusParms table{};
    DlcCommandBlock block = first.Block(kDlcDirStatus, &table);
    ASSERT_EQ(first.Wait(block), kDlcStatusSuccess);
    const std::uint8_t expected[6] = {0x00, 0x00, 0x0F, 0x48, 0x2C, 0x6A};
    EXPECT_EQ(std::memcmp(table.nodeAddress, expected, 6), 0);
    EXPECT_EQ(table.adapterType, 0x0100);
    first.applicationId = 0;  // an id no open has
    DlcCommandBlock stray = first.Block(kDlcDirStatus, &table);
    EXPECT_EQ(AcsLan(&stray), kDlcStatusAdapterClosed);
    first.applicationId = block.applicationId;
}

TEST_F(DlcTest, UiFramesArriveInOrderWithTheirSenderAndSap) {
    DlcClient pc(kPc);
    DlcClient card(kCard);
    std::uint16_t discovery = pc.OpenSap(kDiscoverySap);
    std::uint16_t device = card.OpenSap(kDeviceSap);
    ASSERT_NE(discovery, 0);
    ASSERT_NE(device, 0);
    for (std::size_t i = 0; i < 20; ++i) {
        ASSERT_EQ(pc.TransmitUi(discovery, i == 0 ? kBroadcastAddress : kCard, kDeviceSap, Numbered(i)), 0);
    }
    for (std::size_t i = 0; i < 20; ++i) {
        auto frame = card.NextFrame(device);
        ASSERT_TRUE(frame) << i;
        EXPECT_EQ(frame->data, Numbered(i));
        EXPECT_EQ(frame->sender, kPc);
        EXPECT_EQ(frame->senderSap, kDiscoverySap);
    }
    // The sender's transmits complete, reported together to a READ.
    auto table = pc.Read(discovery);
    ASSERT_TRUE(table);
    pc.Note(*table);
    EXPECT_EQ(pc.completedTransmits, 20u);
}

TEST_F(DlcTest, OpenSapIsRefusedASecondTimeForTheStation) {
    DlcClient first(kPc);
    DlcClient second(kPc);
    ASSERT_NE(first.OpenSap(kTrapSap), 0);
    std::uint8_t status = 0;
    EXPECT_EQ(first.OpenSap(kTrapSap, 1, &status), 0);
    EXPECT_EQ(status, kDlcStatusSapInUse);
    EXPECT_EQ(second.OpenSap(kTrapSap, 1, &status), 0);
    EXPECT_EQ(status, kDlcStatusSapInUse) << "the same station in another open";
    EXPECT_EQ(first.OpenSap(7, 1, &status), 0);
    EXPECT_EQ(status, kDlcStatusInvalidParameter) << "odd values are group SAPs";
}

TEST_F(DlcTest, PoolThatRunsOutLosesFramesUntilBuffersAreFreed) {
    DlcClient pc(kPc);
    DlcClient card(kCard, 4 * kDlcBufferSize);  // room for one frame of 600 bytes (three buffers)
    std::uint16_t sender = pc.OpenSap(kDiscoverySap);
    std::uint16_t device = card.OpenSap(kDeviceSap);
    pc.TransmitUi(sender, kCard, kDeviceSap, Numbered(1, 600));
    auto first = card.Read(device);
    ASSERT_TRUE(first);
    ASSERT_EQ(first->event, kDlcEventReceiveData);
    EXPECT_EQ(first->bufferCount, 1) << "three of four buffers hold the frame";
    EXPECT_EQ(first->receivedFrame->frameLength, 600);
    EXPECT_EQ(first->receivedFrame->next->next->dataLength, 600 - 2 * sizeof(DlcBuffer::data));
    pc.TransmitUi(sender, kCard, kDeviceSap, Numbered(2, 600));  // no room: lost
    EXPECT_FALSE(card.Read(device, kDlcReadSap, 300));
    EXPECT_EQ(card.FreeFrame(first->receivedFrame), kDlcStatusSuccess);
    EXPECT_EQ(card.buffersLeft, 4);
    EXPECT_EQ(card.FreeFrame(first->receivedFrame), kDlcStatusInvalidBuffer) << "freed twice";
    pc.TransmitUi(sender, kCard, kDeviceSap, Numbered(3, 600));
    auto third = card.NextFrame(device);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->data, Numbered(3, 600));
}

TEST_F(DlcTest, ReadThatIsCancelledOrWhoseSapClosesEnds) {
    DlcClient pc(kPc);
    std::uint16_t sap = pc.OpenSap(kTrapSap);
    DlcReadParms table{};
    table.stationId = sap;
    table.optionIndicator = kDlcReadSap;
    table.eventSet = kDlcEventAll;
    CompletionEvent readEvent;
    DlcCommandBlock read = pc.Block(kDlcRead, &table);
    read.event = &readEvent;
    ASSERT_EQ(AcsLan(&read), 0u);
    DlcCommandBlock cancelNow = pc.Block(kDlcReadCancel, nullptr);
    cancelNow.parameter.readBlock = &read;
    EXPECT_EQ(pc.Wait(cancelNow), kDlcStatusSuccess);
    EXPECT_EQ(read.status, kDlcStatusCancelledByUser);
    EXPECT_FALSE(readEvent.IsSet()) << "a cancelled READ is told apart from one that completed by its event";

    ASSERT_EQ(AcsLan(&read), 0u);
    EXPECT_EQ(read.status, kDlcStatusPending);
    EXPECT_EQ(pc.StationCommand(kDlcCloseSap, sap), kDlcStatusSuccess);
    ASSERT_TRUE(readEvent.Wait(1000));
    EXPECT_EQ(read.status, kDlcStatusInvalidStationId);
    DlcCommandBlock cancel = pc.Block(kDlcReadCancel, nullptr);
    cancel.parameter.readBlock = &read;
    EXPECT_EQ(pc.Wait(cancel), kDlcStatusNothingToCancel);
    EXPECT_EQ(pc.StationCommand(kDlcCloseSap, sap), kDlcStatusInvalidStationId);
}

// The PC connects a link station to the card's job SAP, as the port monitor does.
class DlcLinkTest : public DlcTest {
  protected:
    void SetUp() override {
        pcSap_ = pc_.OpenSap(4);
        cardSap_ = card_.OpenSap(kJobSap);
        ASSERT_TRUE(pcSap_ != 0 && cardSap_ != 0);
        ASSERT_EQ(pc_.OpenStation(pcSap_, kCard, kJobSap, &link_), kDlcStatusSuccess);

        DlcConnectStationParms connect{link_, 0, nullptr};
        DlcCommandBlock connecting = pc_.Block(kDlcConnectStation, &connect);
        CompletionEvent connected;
        connecting.event = &connected;
        ASSERT_EQ(AcsLan(&connecting), 0u);
        auto request = card_.Read(cardSap_);  // the card hears the request and accepts it
        ASSERT_TRUE(request);
        ASSERT_EQ(request->event, kDlcEventStatusChange);
        ASSERT_EQ(request->dlcStatusCode, kDlcConnectRequest);
        EXPECT_EQ(FromAdapterForm(request->remoteNodeAddress), kPc);
        cardLink_ = request->statusStationId;
        ASSERT_EQ(card_.ConnectStation(cardLink_), kDlcStatusSuccess);
        ASSERT_TRUE(connected.Wait(5000));
        ASSERT_EQ(connecting.status, kDlcStatusSuccess);
        pc_.PostReceive(link_);
    }

    DlcClient pc_{kPc};
    DlcClient card_{kCard, 8 * kDlcBufferSize};
    std::uint16_t pcSap_ = 0;
    std::uint16_t cardSap_ = 0;
    std::uint16_t link_ = 0;
    std::uint16_t cardLink_ = 0;
};

TEST_F(DlcLinkTest, IFramesArriveInOrderAndAreAcknowledged) {
    constexpr std::size_t kFrames = 30;
    for (std::size_t i = 0; i < kFrames; ++i) {
        ASSERT_EQ(pc_.TransmitI(link_, Numbered(i)), 0);
    }
    for (std::size_t i = 0; i < kFrames; ++i) {
        auto frame = card_.NextFrame(cardSap_);
        ASSERT_TRUE(frame) << i;
        EXPECT_EQ(frame->data, Numbered(i));
        EXPECT_EQ(frame->stationId, cardLink_);
    }
    while (pc_.completedTransmits < kFrames) {
        auto table = pc_.Read(link_, kDlcReadStation);
        ASSERT_TRUE(table);
        pc_.Note(*table);
    }
    EXPECT_EQ(pc_.failedTransmits, 0u);
    // And back, to the PC's link station.
    ASSERT_EQ(card_.TransmitI(cardLink_, {0x20}), 0);
    auto ready = pc_.NextFrame(pcSap_);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->data, std::vector<std::uint8_t>{0x20});
}

TEST_F(DlcLinkTest, SenderSeesRemoteBusyWhileTheCardHasNoBuffersAndItsEnd) {
    // The card's eight buffers fill and it does not free them: it is busy.
    std::vector<DlcBuffer*> held;
    for (std::size_t i = 0; i < 10; ++i) {
        pc_.TransmitI(link_, Numbered(i, 200));
    }
    for (std::size_t i = 0; i < 8; ++i) {
        auto table = card_.Read(cardSap_);
        ASSERT_TRUE(table && table->event == kDlcEventReceiveData) << i;
        held.push_back(table->receivedFrame);
    }
    while (std::find(pc_.statusCodes.begin(), pc_.statusCodes.end(), kDlcRemoteBusy) ==
           pc_.statusCodes.end()) {
        auto table = pc_.Read(link_, kDlcReadStation);
        ASSERT_TRUE(table) << "no remote busy seen";
        pc_.Note(*table);
    }
    for (DlcBuffer* frame : held) {
        card_.FreeFrame(frame);
    }
    while (std::find(pc_.statusCodes.begin(), pc_.statusCodes.end(), kDlcRemoteBusyCleared) ==
           pc_.statusCodes.end()) {
        auto table = pc_.Read(link_, kDlcReadStation);
        ASSERT_TRUE(table) << "the busy state never ended";
        pc_.Note(*table);
    }
    for (std::size_t i = 8; i < 10; ++i) {
        auto frame = card_.NextFrame(cardSap_);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->data, Numbered(i, 200));
    }
}

TEST_F(DlcLinkTest, StationClosedByTheCardIsSeenAsDisconnectAndClosesCleanly) {
    EXPECT_EQ(card_.StationCommand(kDlcCloseStation, cardLink_), kDlcStatusSuccess);
    auto table = pc_.Read(link_, kDlcReadStation);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->event, kDlcEventStatusChange);
    EXPECT_EQ(table->dlcStatusCode, kDlcDmOrDiscReceived);
    EXPECT_EQ(pc_.TransmitI(link_, {1}), kDlcStatusInvalidState);
    EXPECT_EQ(pc_.StationCommand(kDlcCloseStation, link_), kDlcStatusSuccess);
    EXPECT_EQ(pc_.StationCommand(kDlcCloseSap, pcSap_), kDlcStatusSuccess);
}

TEST_F(DlcLinkTest, ResetEndsTheSapsLinkStationsAndTheCardHearsIt) {
    ASSERT_EQ(pc_.TransmitI(link_, {1}), 0);
    EXPECT_EQ(pc_.StationCommand(kDlcReset, pcSap_), kDlcStatusSuccess);
    EXPECT_EQ(pc_.TransmitI(link_, {2}), kDlcStatusInvalidStationId) << "the link station is gone";
    EXPECT_EQ(pc_.StationCommand(kDlcCloseStation, link_), kDlcStatusInvalidStationId);
    bool disconnected = false;
    while (!disconnected) {
        auto table = card_.Read(cardLink_, kDlcReadStation);
        ASSERT_TRUE(table) << "the card never heard of the reset";
        disconnected = table->event == kDlcEventStatusChange && table->dlcStatusCode == kDlcDmOrDiscReceived;
    }
    std::uint16_t again = 0;
    EXPECT_EQ(pc_.OpenStation(pcSap_, kCard, kJobSap, &again), kDlcStatusSuccess)
        << "the SAP itself stays open";
    EXPECT_EQ(pc_.StationCommand(kDlcReset, static_cast<std::uint16_t>(pcSap_ | 0x7F)),
              kDlcStatusInvalidStationId);
}

TEST_F(DlcTest, ConnectToAStationThatIsNotThereFailsInBoundedTime) {
    DlcClient pc(kPc);
    std::uint16_t sap = pc.OpenSap(4);
    std::uint16_t link = 0;
    ASSERT_EQ(pc.OpenStation(sap, kCard, kJobSap, &link), kDlcStatusSuccess);
    EXPECT_EQ(pc.ConnectStation(link), kDlcStatusConnectFailed);
    EXPECT_EQ(pc.OpenStation(sap, kCard, kJobSap + 2), kDlcStatusNoStations)
        << "the SAP's one link station is taken";
}

TEST_F(DlcTest, SapWithEveryLinkStationInUseRefusesOneMore) {
    DlcClient pc(kPc);
    std::uint16_t sap = pc.OpenSap(4, 255);
    ASSERT_NE(sap, 0);
    for (unsigned remoteSap = 0; remoteSap < 255; ++remoteSap) {
        ASSERT_EQ(pc.OpenStation(sap, kCard, static_cast<std::uint8_t>(remoteSap)), kDlcStatusSuccess)
            << remoteSap;
    }
    std::uint16_t extra = 0;
    EXPECT_EQ(pc.OpenStation(sap, kCard, 255, &extra), kDlcStatusNoStations);
    EXPECT_EQ(pc.StationCommand(kDlcCloseStation, static_cast<std::uint16_t>(sap | 1)), kDlcStatusSuccess);
    EXPECT_EQ(pc.OpenStation(sap, kCard, 255, &extra), kDlcStatusSuccess);
    EXPECT_EQ(extra, sap | 1) << "the number given back is taken again";
}

TEST_F(DlcTest, UiFramesAndLinkWithACardInAnotherProcessThenItsLoss) {
    test::PeerProcess card({test::PeerProgram("lan_test_peer"), "llc", kCard.Hex(), "08"});
    ASSERT_TRUE(card.Ready());
    DlcClient pc(kPc);
    std::uint16_t sap = pc.OpenSap(4);
    ASSERT_EQ(pc.TransmitUi(sap, kCard, kJobSap, {'u', 'i'}), 0);
    auto echoed = pc.NextFrame(sap);
    ASSERT_TRUE(echoed);
    EXPECT_EQ(echoed->data, (std::vector<std::uint8_t>{'u', 'i'}));
    EXPECT_EQ(echoed->sender, kCard);

    std::uint16_t link = 0;
    ASSERT_EQ(pc.OpenStation(sap, kCard, kJobSap, &link), kDlcStatusSuccess);
    ASSERT_EQ(pc.ConnectStation(link), kDlcStatusSuccess);
    for (std::size_t i = 0; i < 25; ++i) {
        ASSERT_EQ(pc.TransmitI(link, Numbered(i)), 0);
    }
    for (std::size_t i = 0; i < 25; ++i) {
        auto frame = pc.NextFrame(sap);
        ASSERT_TRUE(frame) << i;
        EXPECT_EQ(frame->data, Numbered(i));
    }
    // The card acknowledges a frame after echoing it: the last acknowledgement may still be on its way
    // (or not yet sent by a card kept from running), and the card ends only once it is in. Then only
    // the frame sent after its end can fail.
    const std::size_t sent = 1 + 25;  // the UI frame and the I frames
    while (pc.completedTransmits < sent) {
        auto table = pc.Read(sap);
        ASSERT_TRUE(table) << pc.completedTransmits << " of " << sent << " frames confirmed";
        pc.Note(*table);
    }
    EXPECT_EQ(pc.failedTransmits, 0u);
    card.Kill();
    ASSERT_EQ(pc.TransmitI(link, {0}), 0);
    while (std::find(pc.statusCodes.begin(), pc.statusCodes.end(), kDlcLinkLost) == pc.statusCodes.end()) {
        auto table = pc.Read(link, kDlcReadStation);
        ASSERT_TRUE(table) << "the link was never reported lost";
        pc.Note(*table);
    }
    EXPECT_EQ(pc.failedTransmits, 1u);
}

}  // namespace
}  // namespace plat
