#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "transport/HexCodec.h"
#include "transport/IpxTransport.h"
#include "transport/tests/LanTestEnvironment.h"
#include "transport/tests/PeerProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPeerIpxAddress = "000000010000F0123456";
constexpr std::uint16_t kOwnSocket = 0x9010;

struct Reply {
    TransportResult result;
    std::string data;
    std::string sender;  // 20 hexadecimal digits
    std::uint16_t socket;
};

Reply ReceiveReply(DatagramTransport& transport) {
    Reply reply{};
    char buffer[512];
    std::uint32_t length = 0;
    std::uint8_t sender[IpxTransport::kSenderBytes] = {};
    reply.result = transport.Receive(buffer, sizeof buffer, &length, sender, &reply.socket);
    if (reply.result == kTransportOk) {
        reply.data.assign(buffer, length);
        char text[2 * IpxTransport::kSenderBytes + 1];
        BytesToHexText(text, sender, IpxTransport::kSenderBytes);
        reply.sender = text;
    }
    return reply;
}

class IpxTransportTest : public ::testing::Test {
  protected:
    void SetUp() override { UseLanIdentity(); }

    PeerProcess StartPeer(const char* socket = "0x900F") {
        return PeerProcess({"ipx", socket}, {std::string("VORLANE_STATION=") + kPeerStation,
                                             std::string("VORLANE_IPX_NETWORK=") + kIpxNetwork});
    }
};

TEST_F(IpxTransportTest, ExchangesDatagramsWithAPeerInAnotherProcess) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    IpxTransport transport(1, 2, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(kOwnSocket), kTransportOk);

    // Network 00-00-00-01, node 00-00-F0-12-34-56, socket 0x900F: the peer hears it only when every
    // address byte went out right.
    ASSERT_EQ(transport.SendTo("request", 7, kPeerIpxAddress, 0x900F), kTransportOk);
    EXPECT_EQ(peer.ReadLine(), "got 00000001" + std::string(kOwnStation) + " 36880 7 request");
    const Reply reply = ReceiveReply(transport);
    ASSERT_EQ(reply.result, kTransportOk);
    EXPECT_EQ(reply.data, "echo:request");
    EXPECT_EQ(reply.sender, kPeerIpxAddress);
    EXPECT_EQ(reply.socket, 0x900F);

    // The default end point is socket 0x900F; characters after the 20th are ignored.
    ASSERT_EQ(transport.SendToDefault("again", 5, "000000010000F0123456 trailing"), kTransportOk);
    EXPECT_EQ(peer.ReadLine(), "got 00000001" + std::string(kOwnStation) + " 36880 5 again");
    EXPECT_EQ(ReceiveReply(transport).data, "echo:again");
}

TEST_F(IpxTransportTest, BroadcastReachesTheStationsOfTheSegment) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    IpxTransport transport(1, 2, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    ASSERT_EQ(transport.Broadcast("anyone", 6, 0x900F), kTransportOk);
    const std::optional<std::string> line = peer.ReadLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->rfind("got 00000001" + std::string(kOwnStation), 0), 0u) << *line;
    EXPECT_EQ(ReceiveReply(transport).data, "echo:anyone");
}

TEST_F(IpxTransportTest, LocalAddressIsKnownOnceBound) {
    IpxTransport transport(1, 1, 0, nullptr, nullptr);
    std::uint8_t address[IpxTransport::kSenderBytes] = {};
    EXPECT_EQ(transport.GetLocalAddress(address), 0);
    ASSERT_EQ(transport.Bind(kOwnSocket), kTransportOk);
    ASSERT_EQ(transport.GetLocalAddress(address), 1);
    char text[21];
    BytesToHexText(text, address, sizeof address);
    EXPECT_EQ(std::string(text), std::string(kIpxNetwork) + kOwnStation);
}

TEST_F(IpxTransportTest, ASocketInUseClosesTheSecondTransport) {
    IpxTransport first(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(first.Bind(kOwnSocket), kTransportOk);
    IpxTransport second(1, 1, 0, nullptr, nullptr);
    EXPECT_EQ(second.Bind(kOwnSocket), kTransportBindFailed);
    EXPECT_EQ(second.SendTo("x", 1, kPeerIpxAddress, 0x900F), kTransportNotOpen);
    EXPECT_EQ(ReceiveReply(second).result, kTransportNotOpen);
}

TEST_F(IpxTransportTest, ReceiveWaitsTheTimeOutOncePerRetry) {
    IpxTransport transport(2, 1, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(ReceiveReply(transport).result, kTransportTimedOut);
    const double waited = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(waited, 1.9);
    EXPECT_LE(waited, 3.5);
}

TEST_F(IpxTransportTest, AddressTextsAreCheckedBeforeTheyAreRead) {
    IpxTransport transport(1, 1, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    for (const char* address : {"0000000100A0B1C2D3E", "0000000100A0B1C2D3EG", "", "00000001-00A0B1C2D3E4"}) {
        EXPECT_EQ(transport.SendTo("x", 1, address, 0x900F), kTransportSendFailed) << '"' << address << '"';
    }
    EXPECT_EQ(transport.SendTo("x", 1, nullptr, 0x900F), kTransportSendFailed);
}

// The one test of this program that makes asynchronous IPX transports (the window class stays
// registered for the process).
std::vector<std::string> gAnnounced;
DatagramTransport* gAnnouncing = nullptr;

plat::LResult AnnounceProcedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                plat::LParam lParam) {
    if (message != WM_DATAGRAM_NOTIFY) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    gAnnounced.push_back(ReceiveReply(*gAnnouncing).data);
    return 0;
}

TEST_F(IpxTransportTest, AsynchronousModeAnnouncesEachDatagram) {
    PeerProcess peer = StartPeer();
    ASSERT_TRUE(peer.WaitReady());
    IpxTransport transport(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
    gAnnouncing = &transport;
    ASSERT_NE(transport.GetWindow(), 0u);
    ASSERT_EQ(transport.Bind(kOwnSocket), kTransportOk);
    ASSERT_EQ(transport.SendTo("one", 3, kPeerIpxAddress, 0x900F), kTransportOk);
    ASSERT_EQ(transport.SendTo("two", 3, kPeerIpxAddress, 0x900F), kTransportOk);
    const Clock::time_point start = Clock::now();
    while (gAnnounced.size() < 2 && Clock::now() - start < std::chrono::seconds(60)) {  // a loaded machine
        plat::PumpWaiting(100);
    }
    EXPECT_EQ(gAnnounced, (std::vector<std::string>{"echo:one", "echo:two"}));

    IpxTransport second(1, 1, kTransportAsynchronous, AnnounceProcedure, nullptr);
    EXPECT_EQ(second.GetWindow(), 0u);
    EXPECT_EQ(second.Bind(0), kTransportBindFailed);
}

}  // namespace
