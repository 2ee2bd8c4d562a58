#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sock/tests/SocketTestSupport.h"
#include "transport/UdpTransport.h"
#include "transport/tests/UdpPeer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};

struct Reply {
    TransportResult result;
    std::string data;
    std::uint8_t sender[4];
    std::uint16_t port;
};

Reply ReceiveReply(UdpTransport& transport) {
    Reply reply{};
    char buffer[512];
    std::uint32_t length = 0;
    reply.result = transport.Receive(buffer, sizeof buffer, &length, reply.sender, &reply.port);
    if (reply.result == kTransportOk) {
        reply.data.assign(buffer, length);
    }
    return reply;
}

// Sends a request to the peer, which answers to the port it came from.
void PeerAnswers(UdpTransport& transport, const UdpPeer& peer, const std::string& answer) {
    ASSERT_EQ(transport.SendTo("request", 7, "127.0.0.1", peer.Port()), kTransportOk);
    const std::optional<UdpPeer::Datagram> request = peer.Receive();
    ASSERT_TRUE(request);
    peer.SendTo(request->port, answer);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(UdpTransport, ExchangesDatagramsWithARealPeer) {
    UdpPeer peer;
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    ASSERT_EQ(transport.SendTo("request", 7, "127.0.0.1", peer.Port()), kTransportOk);
    const std::optional<UdpPeer::Datagram> request = peer.Receive();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->data, "request");

    peer.SendTo(request->port, "answer");
    const Reply reply = ReceiveReply(transport);
    ASSERT_EQ(reply.result, kTransportOk);
    EXPECT_EQ(reply.data, "answer");
    EXPECT_EQ(0, std::memcmp(reply.sender, kLoopback, 4));
    EXPECT_EQ(reply.port, peer.Port()) << "the sender port comes in host order";
}

TEST(UdpTransport, ABlockingTransportMaySendWithoutBindAndHearTheAnswer) {
    UdpPeer peer;
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    PeerAnswers(transport, peer, "back");
    EXPECT_EQ(ReceiveReply(transport).data, "back");
}

TEST(UdpTransport, ReceiveWaitsTheTimeOutOncePerRetry) {
    struct Case {
        std::int32_t retries, timeOut;
        double atLeast, atMost;
    } cases[] = {{2, 1, 1.9, 3.5}, {1, 1, 0.9, 2.0}, {3, 0, 0.0, 0.5}};
    for (const Case& c : cases) {
        UdpTransport transport(c.retries, c.timeOut, 0, nullptr, nullptr);
        ASSERT_EQ(transport.Bind(0), kTransportOk);
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(ReceiveReply(transport).result, kTransportTimedOut);
        const double waited = SecondsSince(start);
        EXPECT_GE(waited, c.atLeast) << c.retries << " x " << c.timeOut << " s";
        EXPECT_LE(waited, c.atMost) << c.retries << " x " << c.timeOut << " s";
    }
}

TEST(UdpTransport, ATimeOutOfZeroPollsButTakesWhatIsQueued) {
    UdpPeer peer;
    UdpTransport transport(1, 0, 0, nullptr, nullptr);
    PeerAnswers(transport, peer, "queued");
    // Once the answer waits in the socket; the bound is for a loaded machine.
    ASSERT_TRUE(plat::test::Readable(transport.GetSocket(), 60000));
    EXPECT_EQ(ReceiveReply(transport).data, "queued");
}

TEST(UdpTransport, ABindToAPortInUseClosesTheTransport) {
    UdpPeer holder(INADDR_ANY);
    UdpTransport transport(2, 1, 0, nullptr, nullptr);
    EXPECT_EQ(transport.Bind(holder.Port()), kTransportBindFailed);
    EXPECT_EQ(transport.GetSocket(), DatagramTransport::kNoSocket);
    EXPECT_EQ(transport.SendTo("x", 1, "127.0.0.1", holder.Port()), kTransportNotOpen);
    EXPECT_EQ(ReceiveReply(transport).result, kTransportNotOpen);
    std::uint8_t address[4];
    EXPECT_EQ(transport.GetLocalAddress(address), kTransportNotOpen);
}

TEST(UdpTransport, RefusesDestinationsThatAreNotAddresses) {
    UdpTransport transport(2, 1, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    // 0.0.0.0 would reach this machine; a text that is not an address must not become a broadcast.
    for (const char* address : {"0.0.0.0", "", "printer", "1.2.3", "300.1.1.1"}) {
        EXPECT_EQ(transport.SendTo("x", 1, address, 161), kTransportSendFailed) << '"' << address << '"';
    }
    EXPECT_EQ(transport.SendTo("x", 1, nullptr, 161), kTransportSendFailed);
}

TEST(UdpTransport, BroadcastNeedsTheBroadcastFlag) {
    UdpTransport transport(2, 1, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    EXPECT_EQ(transport.Broadcast("x", 1, 161), kTransportSendFailed);
}

TEST(UdpTransport, ADatagramLargerThanTheBufferIsAFailedReceive) {
    UdpPeer peer;
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    PeerAnswers(transport, peer, std::string(100, 'L'));
    char small[10];
    std::uint32_t length = 0xDEAD;
    std::uint8_t sender[4] = {};
    std::uint16_t port = 0xBEEF;
    EXPECT_EQ(transport.Receive(small, sizeof small, &length, sender, &port), kTransportReceiveFailed);
    EXPECT_EQ(length, 0xDEADu) << "nothing is written on failure";
    EXPECT_EQ(port, 0xBEEF);
}

bool HasNonLoopbackAddress() {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return false;
    }
    bool found = false;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        found |= entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
                 (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_LOOPBACK) == 0;
    }
    freeifaddrs(interfaces);
    return found;
}

TEST(UdpTransport, LocalAddressIsNotLoopbackWhenTheMachineHasAnother) {
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    std::uint8_t address[4] = {};
    ASSERT_EQ(transport.GetLocalAddress(address), 1);
    EXPECT_EQ(address[0] == 127, !HasNonLoopbackAddress());
}

// The one test of this program that makes asynchronous transports: a window class, once registered,
// stays registered for the process.
struct Notices {
    UdpTransport* transport = nullptr;
    std::vector<std::string> received;
    std::vector<plat::WParam> sockets;
    std::vector<long> events;
};
Notices gNotices;

plat::LResult NoticeProcedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                              plat::LParam lParam) {
    if (message != WM_DATAGRAM_NOTIFY) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    gNotices.sockets.push_back(wParam);
    gNotices.events.push_back(static_cast<long>(lParam & 0xFFFF));
    const Reply reply = ReceiveReply(*gNotices.transport);
    gNotices.received.push_back(reply.result == kTransportOk ? reply.data : "failed");
    return 0;
}

TEST(UdpTransport, AsynchronousModeAnnouncesEachDatagramToTheFirstTransportOnly) {
    UdpTransport transport(1, 1, kTransportAsynchronous, NoticeProcedure, nullptr);
    gNotices.transport = &transport;
    ASSERT_NE(transport.GetWindow(), 0u);
    ASSERT_EQ(transport.Bind(0), kTransportOk);

    UdpPeer peer;
    ASSERT_EQ(transport.SendTo("hello", 5, "127.0.0.1", peer.Port()), kTransportOk);
    const std::optional<UdpPeer::Datagram> request = peer.Receive();
    ASSERT_TRUE(request);
    peer.SendTo(request->port, "first");
    peer.SendTo(request->port, "second");
    const Clock::time_point start = Clock::now();
    while (gNotices.received.size() < 2 && SecondsSince(start) < 60) {  // a loaded machine
        plat::PumpWaiting(100);
    }
    plat::PumpWaiting(200);  // no further notice follows
    EXPECT_EQ(gNotices.received, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(gNotices.sockets, (std::vector<plat::WParam>(2, transport.GetSocket())));
    EXPECT_EQ(gNotices.events, (std::vector<long>(2, plat::kFdRead)));

    UdpTransport second(1, 1, kTransportAsynchronous, NoticeProcedure, nullptr);
    EXPECT_EQ(second.GetWindow(), 0u);
    EXPECT_EQ(second.Bind(0), kTransportBindFailed);
    EXPECT_EQ(second.SendTo("x", 1, "127.0.0.1", peer.Port()), kTransportNotOpen);
}

}  // namespace
