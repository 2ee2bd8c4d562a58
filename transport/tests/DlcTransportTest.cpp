#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/services/ApplicationId.h"
#include "transport/DlcTransport.h"
#include "transport/HexCodec.h"
#include "transport/tests/LanTestEnvironment.h"
#include "transport/tests/PeerProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Reply {
    TransportResult result;
    std::string data;
    std::string sender;  // 12 hexadecimal digits
    std::uint16_t sap;
};

Reply ReceiveReply(DatagramTransport& transport, std::uint32_t size = 1500) {
    Reply reply{};
    std::vector<char> buffer(size);
    std::uint32_t length = 0;
    std::uint8_t sender[kDlcAddressBytes] = {};
    reply.result = transport.Receive(buffer.data(), size, &length, sender, &reply.sap);
    if (reply.result == kDlcOk) {
        reply.data.assign(buffer.data(), length);
        char text[2 * kDlcAddressBytes + 1];
        BytesToHexText(text, sender, kDlcAddressBytes);
        reply.sender = text;
    }
    return reply;
}

// The adapter's receive pool, and the answers of 605 bytes that take three of its buffers each and
// together more than it has.
constexpr int kPoolBuffers = kDlcPoolSize / plat::kDlcBufferSize;
constexpr int kLargeAnswersBeyondThePool = kPoolBuffers / 3 + 10;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// How long an announcement is waited for: a bound for a loaded machine.
constexpr double kAnnouncementSeconds = 60;

class DlcTransportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        UseLanIdentity();
        ASSERT_EQ(DlcInitialize(), kDlcOk);
    }

    static PeerProcess StartPeer() {
        return PeerProcess({"dlc", "10"}, {std::string("VORLANE_STATION=") + kPeerStation});
    }
};

TEST_F(DlcTransportTest, TheAdapterIsOpenedOncePerLibrary) {
    EXPECT_EQ(DlcInitialize(), kDlcFailed);
    EXPECT_TRUE(DlcAvailable());
}

TEST_F(DlcTransportTest, ExchangesFramesWithAPeerInAnotherProcess) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    DlcTransport transport(1, 2, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kDlcOk);  // SAP 16

    // The peer hears the frame only when the destination went to the adapter bit-reversed.
    ASSERT_EQ(transport.SendTo("request", 7, kPeerStation, 10), kDlcOk);
    EXPECT_EQ(peer.ReadLine(), std::string("got ") + kOwnStation + " 16 7 request");
    const Reply reply = ReceiveReply(transport);
    ASSERT_EQ(reply.result, kDlcOk);
    EXPECT_EQ(reply.data, "echo:request");
    EXPECT_EQ(reply.sender, kPeerStation) << "the sender comes back in canonical order";
    EXPECT_EQ(reply.sap, 10);

    ASSERT_EQ(transport.SendToDefault("again", 5, kPeerStation), kDlcOk);
    EXPECT_EQ(ReceiveReply(transport).data, "echo:again");
}

TEST_F(DlcTransportTest, BroadcastReachesThePeer) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    DlcTransport transport(1, 2, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(14), kDlcOk);
    ASSERT_EQ(transport.Broadcast("anyone", 6, 10), kDlcOk);
    EXPECT_EQ(peer.ReadLine(), std::string("got ") + kOwnStation + " 14 6 anyone");
    EXPECT_EQ(ReceiveReply(transport).data, "echo:anyone");
}

TEST_F(DlcTransportTest, ABlockingReceiveEndsAfterItsTimeOutAndLetsGoOfItsRead) {
    DlcTransport transport(1, 2, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(ReceiveReply(transport).result, kDlcTimedOut);
    EXPECT_GE(SecondsSince(start), 1.9);
    EXPECT_LE(SecondsSince(start), 3.5);
    // The cancelled READ is freed, not kept for an adapter that has let go of it.
    EXPECT_EQ(DlcRetiredCount(), 0u);
}

TEST_F(DlcTransportTest, FramesTooLargeForTheBufferAreDroppedAndTheirBuffersFreed) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    DlcTransport transport(1, 2, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    // Unless each dropped frame gives its buffers back, the later ones cannot be received.
    const std::string large(600, 'L');
    for (int i = 0; i < kLargeAnswersBeyondThePool; ++i) {
        ASSERT_EQ(transport.SendTo(large.data(), 600, kPeerStation, 10), kDlcOk);
        ASSERT_TRUE(peer.ReadLine()) << "the peer's report, read so that its output never fills";
        ASSERT_EQ(ReceiveReply(transport, 512).result, kDlcFrameTooLarge) << "frame " << i;
    }
    ASSERT_EQ(transport.SendTo("small", 5, kPeerStation, 10), kDlcOk);
    EXPECT_EQ(ReceiveReply(transport).data, "echo:small");
}

TEST_F(DlcTransportTest, LocalAddressIsTheAdaptersEvenBeforeBind) {
    DlcTransport transport(1, 1, 0, nullptr, nullptr);
    std::uint8_t address[kDlcAddressBytes] = {};
    ASSERT_EQ(transport.GetLocalAddress(address), 1);
    char text[13];
    BytesToHexText(text, address, sizeof address);
    EXPECT_STREQ(text, kOwnStation);
}

TEST_F(DlcTransportTest, ASapInUseIsRefused) {
    DlcTransport first(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(first.Bind(12), kDlcOk);
    DlcTransport second(1, 1, 0, nullptr, nullptr);
    EXPECT_EQ(second.Bind(12), kDlcFailed);
    EXPECT_EQ(first.Bind(13), kDlcFailed) << "a transport binds once";
}

TEST_F(DlcTransportTest, AddressTextsAreCheckedBeforeTheyAreRead) {
    DlcTransport transport(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    for (const char* address : {"0000F012345", "0000F012345G", ""}) {
        EXPECT_EQ(transport.SendTo("x", 1, address, 10), kDlcFailed) << '"' << address << '"';
    }
    EXPECT_EQ(transport.SendTo("x", 1, nullptr, 10), kDlcFailed);
}

struct Announcements {
    DatagramTransport* transport = nullptr;  // null: the frames are left queued
    std::vector<std::string> received;
    std::vector<plat::LParam> lParams;
};
Announcements gAnnouncements;

plat::LResult AnnounceProcedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                plat::LParam lParam) {
    if (message != WM_DATAGRAM_NOTIFY) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    gAnnouncements.lParams.push_back(lParam);
    if (gAnnouncements.transport != nullptr) {
        gAnnouncements.received.push_back(ReceiveReply(*gAnnouncements.transport).data);
    }
    return 0;
}

TEST_F(DlcTransportTest, AnAsynchronousTransportReceivesFromTheMomentItIsBound) {
    // A frame that reaches the SAP as soon as Bind returns, before the reader thread has run, is kept.
    DlcTransport sender(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(sender.Bind(20), kDlcOk);
    for (int i = 0; i < 20; ++i) {
        DlcTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
        gAnnouncements = Announcements{};
        gAnnouncements.transport = &transport;
        ASSERT_EQ(transport.Bind(0), kDlcOk);
        ASSERT_EQ(sender.SendTo("early", 5, kOwnStation, DlcTransport::kAnySap), kDlcOk);
        const Clock::time_point start = Clock::now();
        while (gAnnouncements.received.empty() && SecondsSince(start) < kAnnouncementSeconds) {
            plat::PumpWaiting(50);
        }
        ASSERT_EQ(gAnnouncements.received, std::vector<std::string>{"early"}) << "transport " << i;
    }
}

TEST_F(DlcTransportTest, AsynchronousModeQueuesFramesAndAnnouncesEach) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    {
        DlcTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
        gAnnouncements = Announcements{};
        gAnnouncements.transport = &transport;
        ASSERT_NE(transport.GetWindow(), 0u);
        ASSERT_EQ(transport.Bind(0), kDlcOk);
        EXPECT_EQ(ReceiveReply(transport).result, kDlcNoFrame) << "and the transport goes on working";

        // Both answers arrive before the window is served: two notices, taken in arrival order.
        ASSERT_EQ(transport.SendTo("one", 3, kPeerStation, 10), kDlcOk);
        ASSERT_EQ(peer.ReadLine(), std::string("got ") + kOwnStation + " 16 3 one");
        ASSERT_EQ(transport.SendTo("two", 3, kPeerStation, 10), kDlcOk);
        ASSERT_EQ(peer.ReadLine(), std::string("got ") + kOwnStation + " 16 3 two");
        usleep(300 * 1000);
        const Clock::time_point start = Clock::now();
        while (gAnnouncements.received.size() < 2 && SecondsSince(start) < kAnnouncementSeconds) {
            plat::PumpWaiting(100);
        }
        EXPECT_EQ(gAnnouncements.received, (std::vector<std::string>{"echo:one", "echo:two"}));
        EXPECT_EQ(gAnnouncements.lParams, (std::vector<plat::LParam>{1, 1}));
    }
    EXPECT_EQ(DlcRetiredCount(), 0u) << "the reader thread's last READ is freed with it";
    // The class stays registered for this library: a later asynchronous transport gets a window too.
    DlcTransport later(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
    EXPECT_NE(later.GetWindow(), 0u);
    EXPECT_EQ(later.Bind(0), kDlcOk);
}

// A library loaded later opens the adapter for itself, and its id becomes the process's: a SAP
// opened before goes on with the adapter that holds it, announcing every frame and giving each
// frame's buffers back to that adapter's pool (60 answers of 605 bytes need more buffers than the pool
// has), while a SAP opened now goes to the new id (here one that no adapter has).
TEST_F(DlcTransportTest, AnOpenSapKeepsItsAdapterWhenALaterOpenTakesTheApplicationId) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    DlcTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
    gAnnouncements = Announcements{};
    gAnnouncements.transport = &transport;
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    const unsigned char holder = bgApplId;
    bgApplId = static_cast<unsigned char>(holder + 100);
    const std::string large(600, 'L');
    constexpr std::size_t kAnswers = 60;
    for (std::size_t i = 0; i < kAnswers; ++i) {
        EXPECT_EQ(transport.SendTo(large.data(), 600, kPeerStation, 10), kDlcOk) << "request " << i;
        const Clock::time_point start = Clock::now();
        while (gAnnouncements.received.size() <= i && SecondsSince(start) < kAnnouncementSeconds) {
            plat::PumpWaiting(100);
        }
        if (gAnnouncements.received.size() <= i) {
            break;  // lost: the answers below say so
        }
    }
    DlcTransport later(1, 1, 0, nullptr, nullptr);
    const TransportResult laterBind = later.Bind(0);
    bgApplId = holder;
    EXPECT_EQ(gAnnouncements.received, std::vector<std::string>(kAnswers, "echo:" + large));
    EXPECT_EQ(laterBind, kDlcFailed) << "a new SAP goes to the process's id";
}

TEST_F(DlcTransportTest, FramesWaitForABusyOwnerWithoutFillingThePool) {
    // More frames arrive while the owner's thread takes none than the adapter's pool has buffers:
    // unless the reader thread takes each out of the pool, the later ones find no room and are lost.
    constexpr int kFrames = kPoolBuffers + 100;
    DlcTransport sender(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(sender.Bind(22), kDlcOk);
    DlcTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
    gAnnouncements = {};
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    for (int i = 0; i < kFrames; ++i) {
        const std::string frame = "frame " + std::to_string(i);
        ASSERT_EQ(sender.SendTo(frame.data(), static_cast<std::uint32_t>(frame.size()), kOwnStation,
                                DlcTransport::kAnySap),
                  kDlcOk);
    }
    const Clock::time_point start = Clock::now();
    while (gAnnouncements.lParams.size() < kFrames && SecondsSince(start) < 60) {
        plat::PumpWaiting(100);
    }
    ASSERT_EQ(gAnnouncements.lParams.size(), static_cast<std::size_t>(kFrames)) << "one notice per frame";
    for (int i = 0; i < kFrames; ++i) {
        const Reply reply = ReceiveReply(transport);
        ASSERT_EQ(reply.result, kDlcOk) << "frame " << i;
        EXPECT_EQ(reply.data, "frame " + std::to_string(i));
        EXPECT_EQ(reply.sender, kOwnStation);
        EXPECT_EQ(reply.sap, 22);
    }
    EXPECT_EQ(ReceiveReply(transport).result, kDlcNoFrame);
    // A frame larger than the caller's buffer gives the bytes that fit and says so.
    ASSERT_EQ(sender.SendTo("0123456789", 10, kOwnStation, DlcTransport::kAnySap), kDlcOk);
    while (gAnnouncements.lParams.size() < kFrames + 1 && SecondsSince(start) < 120) {
        plat::PumpWaiting(100);
    }
    std::uint8_t small[4] = {};
    std::uint32_t length = 0;
    std::uint8_t from[kDlcAddressBytes] = {};
    std::uint16_t sap = 0;
    EXPECT_EQ(transport.Receive(small, sizeof small, &length, from, &sap), kDlcFrameTooLarge);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(small), length), "0123");
}

TEST_F(DlcTransportTest, FramesStillQueuedWhenTheTransportGoesGiveTheirBuffersBack) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    // Unless the frames left queued give their buffers back, the last exchange finds no room.
    const std::string large(600, 'L');
    for (int i = 0; i < kLargeAnswersBeyondThePool; ++i) {
        DlcTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
        gAnnouncements = {};
        ASSERT_EQ(transport.Bind(0), kDlcOk);
        ASSERT_EQ(transport.SendTo(large.data(), 600, kPeerStation, 10), kDlcOk);
        ASSERT_TRUE(peer.ReadLine()) << "the peer's report, read so that its output never fills";
        const Clock::time_point start = Clock::now();
        while (gAnnouncements.lParams.empty() && SecondsSince(start) < kAnnouncementSeconds) {
            plat::PumpWaiting(50);
        }
        ASSERT_EQ(gAnnouncements.lParams.size(), 1u) << "answer " << i;
    }
    DlcTransport transport(1, 2, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kDlcOk);
    ASSERT_EQ(transport.SendTo("small", 5, kPeerStation, 10), kDlcOk);
    EXPECT_EQ(ReceiveReply(transport).data, "echo:small");
}

}  // namespace
