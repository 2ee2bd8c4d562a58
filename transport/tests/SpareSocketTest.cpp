// A UDP transport whose exchange ended clean leaves its socket to the thread's next transport; no
// datagram meant for an earlier exchange ever reaches a later one.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "platform/sock/tests/SocketTestSupport.h"
#include "transport/UdpTransport.h"
#include "transport/tests/UdpPeer.h"

namespace {

// A synchronous transport bound to any port; timeOut 0 makes a receive only look.
struct Transport {
    explicit Transport(std::int32_t timeOut = 1) : udp(1, timeOut, 0, nullptr, nullptr) {
        EXPECT_EQ(udp.Bind(0), kTransportOk);
    }
    UdpTransport udp;
};

// Sends to the peer and gives the local port the request came from (0 when none came).
std::uint16_t SendFrom(UdpTransport& transport, const UdpPeer& peer) {
    EXPECT_EQ(transport.SendTo("request", 7, "127.0.0.1", peer.Port()), kTransportOk);
    const std::optional<UdpPeer::Datagram> request = peer.Receive();
    return request ? request->port : 0;
}

bool Receives(UdpTransport& transport) {
    char buffer[64];
    std::uint32_t length = 0;
    return transport.Receive(buffer, sizeof buffer, &length, nullptr, nullptr) == kTransportOk;
}

// Ends with its socket kept as the spare: every request answered.
std::uint16_t AnsweredExchange(const UdpPeer& peer, int answers = 1) {
    Transport first;
    const std::uint16_t port = SendFrom(first.udp, peer);
    for (int i = 0; i < answers; ++i) {
        peer.SendTo(port, "answer");
    }
    EXPECT_TRUE(Receives(first.udp));
    // The duplicates are sure to wait in the socket before it is handed on; the bound is for a loaded
    // machine.
    if (answers > 1) {
        EXPECT_TRUE(plat::test::Readable(first.udp.GetSocket(), 60000)) << "the duplicate never came";
    }
    return port;
}

TEST(SpareSocket, AnAnsweredExchangeLeavesItsSocketToTheNext) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer);
    Transport next;
    EXPECT_EQ(SendFrom(next.udp, peer), port);
}

TEST(SpareSocket, ASocketStillAwaitingAnAnswerIsClosed) {
    UdpPeer peer;
    std::uint16_t unanswered = 0;
    {
        Transport first;
        unanswered = SendFrom(first.udp, peer);
    }
    peer.SendTo(unanswered, "late answer");
    Transport next(0);
    EXPECT_NE(SendFrom(next.udp, peer), unanswered);
    EXPECT_FALSE(Receives(next.udp));
}

TEST(SpareSocket, ASocketWhoseSendFailedIsClosed) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer);
    {
        Transport failing;  // takes the spare, then fails: a broadcast it may not send
        EXPECT_EQ(failing.udp.SendTo("x", 1, "255.255.255.255", peer.Port()), kTransportSendFailed);
    }
    Transport next;
    EXPECT_NE(SendFrom(next.udp, peer), port);
}

TEST(SpareSocket, ADuplicateAnswerIsReadAwayBeforeTheSocketIsHandedOn) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer, 2);
    Transport next(0);
    EXPECT_EQ(SendFrom(next.udp, peer), port);
    EXPECT_FALSE(Receives(next.udp)) << "the duplicate of the earlier answer reached the next exchange";
}

TEST(SpareSocket, ATransportBoundToAPortOfItsOwnLeavesTheSpareAlone) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer);
    const std::uint16_t own = [] {  // a free port, freed again for the transport
        const UdpPeer probe;
        return probe.Port();
    }();
    {
        UdpTransport bound(1, 1, 0, nullptr, nullptr);
        ASSERT_EQ(bound.Bind(own), kTransportOk);
        EXPECT_EQ(SendFrom(bound, peer), own);
    }
    Transport next;
    EXPECT_EQ(SendFrom(next.udp, peer), port);
}

TEST(SpareSocket, EachThreadKeepsItsOwn) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer);
    std::uint16_t otherThreads = 0;
    std::thread([&] {
        Transport other;
        otherThreads = SendFrom(other.udp, peer);
    }).join();
    EXPECT_NE(otherThreads, port);
    Transport next;
    EXPECT_EQ(SendFrom(next.udp, peer), port);
}

TEST(SpareSocket, BroadcastingTransportsMakeTheirOwn) {
    UdpPeer peer;
    const std::uint16_t port = AnsweredExchange(peer);
    {
        UdpTransport broadcasting(1, 1, kTransportBroadcast, nullptr, nullptr);
        ASSERT_EQ(broadcasting.Bind(0), kTransportOk);
        EXPECT_NE(SendFrom(broadcasting, peer), port);
    }
    Transport next;
    EXPECT_EQ(SendFrom(next.udp, peer), port);
}

}  // namespace
