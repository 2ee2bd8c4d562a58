// Stations in other processes: each peer is a process of its own started from lan_test_peer.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <set>

#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/LanSettings.h"
#include "platform/lan/SpxConnection.h"
#include "platform/lan/SpxListener.h"
#include "platform/lan/tests/LanTestSupport.h"
#include "platform/lan/tests/LinkSide.h"

namespace plat {
namespace {

const HardwareAddress kPc{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}};
constexpr int kPeerMs = 60000;  // for what a peer sends: a bound for a loaded machine

HardwareAddress Peer(int i) {
    return HardwareAddress{{0x00, 0xA0, 0xB1, 0x00, 0x00, static_cast<std::uint8_t>(i)}};
}

std::unique_ptr<test::PeerProcess> StartPeer(const char* mode, const HardwareAddress& station,
                                             const char* number) {
    auto peer = std::make_unique<test::PeerProcess>(
        std::vector<std::string>{test::PeerProgram("lan_test_peer"), mode, station.Hex(), number});
    EXPECT_TRUE(peer->Ready()) << mode << " peer did not start";
    return peer;
}

class LanProcessTest : public ::testing::Test {
  protected:
    test::TempLan lan_;
};

TEST_F(LanProcessTest, BroadcastReachesThreeStationsEachInItsOwnProcess) {
    std::vector<std::unique_ptr<test::PeerProcess>> peers;
    for (int i = 1; i <= 3; ++i) {
        peers.push_back(StartPeer("ipx", Peer(i), "900F"));
    }
    int error = 0;
    auto pc = IpxEndpoint::Open(kPc, 0x9010, error);
    ASSERT_TRUE(pc);
    std::vector<std::uint8_t> ping{'p', 'i', 'n', 'g'};
    ASSERT_EQ(pc->SendTo(IpxAddress{0, kBroadcastAddress, 0x900F}, 4, ping), 0);
    std::set<HardwareAddress> answered;
    while (answered.size() < 3 && test::WaitReadable(pc->Fd(), kPeerMs)) {
        auto answer = pc->Receive();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->data, ping);
        EXPECT_EQ(answer->source.socket, 0x900F);
        answered.insert(answer->source.node);
    }
    EXPECT_EQ(answered, (std::set<HardwareAddress>{Peer(1), Peer(2), Peer(3)}));
}

TEST_F(LanProcessTest, SpxStreamCrossesToAnotherProcessAndBack) {
    auto peer = StartPeer("spx", Peer(4), "2000");
    int error = 0;
    auto connection = SpxConnection::Connect(IpxAddress{LocalIpxNetwork(), kPc, 0x4002},
                                             IpxAddress{0, Peer(4), 0x2000}, error);
    ASSERT_TRUE(connection);
    ASSERT_TRUE(test::WaitReadable(connection->StatusFd(), kPeerMs));
    ASSERT_EQ(connection->GetStatus(), SpxConnection::Status::Connected);
    std::string sent;
    for (int i = 0; i < 3000; ++i) {
        sent += std::to_string(i) + ",";
    }
    ASSERT_EQ(send(connection->Fd(), sent.data(), sent.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(sent.size()));
    shutdown(connection->Fd(), SHUT_WR);
    std::string echoed;
    char buffer[2048];
    ssize_t got;
    while (test::WaitReadable(connection->Fd(), kPeerMs) &&
           (got = recv(connection->Fd(), buffer, sizeof buffer, 0)) > 0) {
        echoed.append(buffer, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(echoed, sent);
    connection->Close();
}

// A program that closes its connection and ends at once still delivers every byte and the end.
TEST_F(LanProcessTest, SpxStreamOfAProgramThatEndsRightAfterClosingArrivesWhole) {
    int error = 0;
    auto listener = SpxListener::Open(kPc, 0x2001, error);
    ASSERT_TRUE(listener);
    listener->Listen(1);
    auto peer = StartPeer("spxsend", kPc, "2001");
    ASSERT_TRUE(test::WaitReadable(listener->Fd(), kPeerMs));
    auto connection = listener->Accept();
    ASSERT_TRUE(connection);
    std::vector<std::uint8_t> arrived;
    std::uint8_t buffer[4096];
    ssize_t got = -1;
    while (test::WaitReadable(connection->Fd(), kPeerMs) &&
           (got = recv(connection->Fd(), buffer, sizeof buffer, 0)) > 0) {
        arrived.insert(arrived.end(), buffer, buffer + got);
    }
    EXPECT_EQ(got, 0) << "the stream's end never came";
    ASSERT_EQ(arrived.size(), test::kSentBytes);
    for (std::size_t i = 0; i < arrived.size(); ++i) {
        ASSERT_EQ(arrived[i], test::SentByte(i)) << i;
    }
    connection->Close();
}

TEST_F(LanProcessTest, UiFramesAndLinkToAnotherProcessThenItsLoss) {
    auto peer = StartPeer("llc", Peer(5), "08");
    test::LinkSide pc(kPc, 4, false);
    std::vector<std::uint8_t> ui{7, 7, 7};
    ASSERT_EQ(SendUiFrame(kPc, 4, Peer(5), 8, ui), 0);
    ASSERT_TRUE(pc.WaitFor([&] { return pc.uiFrames.size() == 1; }));
    EXPECT_EQ(pc.uiFrames[0], ui);

    pc.Connect(Peer(5), 8);
    ASSERT_TRUE(pc.Saw(ReliableLink::Event::Connected));
    for (std::uint8_t i = 0; i < 40; ++i) {
        pc.Send(std::vector<std::uint8_t>(i + 1u, i));
    }
    ASSERT_TRUE(pc.WaitFor([&] { return pc.received.size() == 40; }));
    for (std::uint8_t i = 0; i < 40; ++i) {
        EXPECT_EQ(pc.received[i], std::vector<std::uint8_t>(i + 1u, i));
    }

    peer->Kill();
    pc.Send({1});
    EXPECT_TRUE(pc.Saw(ReliableLink::Event::Lost));
}

}  // namespace
}  // namespace plat
