#include <gtest/gtest.h>

#include <cstring>

#include "transport/UdpTransport.h"
#include "transport/tests/UdpPeer.h"

// Inside the private network namespace: loopback is the only interface and broadcasts reach it.
namespace {

TEST(UdpTransportOnlyLoopback, BroadcastsReachPeersWhenAllowed) {
    UdpPeer peer(INADDR_ANY);
    UdpTransport transport(2, 1, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    ASSERT_EQ(transport.Broadcast("anyone", 6, peer.Port()), kTransportOk);
    const std::optional<UdpPeer::Datagram> heard = peer.Receive();
    ASSERT_TRUE(heard);
    EXPECT_EQ(heard->data, "anyone");
}

TEST(UdpTransportOnlyLoopback, LocalAddressFallsBackToLoopback) {
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    std::uint8_t address[4] = {};
    ASSERT_EQ(transport.GetLocalAddress(address), 1);
    const std::uint8_t loopback[4] = {127, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(address, loopback, 4));
}

TEST(UdpTransportOnlyLoopback, TheDefaultEndPointIsPort161) {
    UdpPeer agent(INADDR_LOOPBACK, 161);
    ASSERT_TRUE(agent.Bound());
    UdpTransport transport(1, 1, 0, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    ASSERT_EQ(transport.SendToDefault("get", 3, "127.0.0.1"), kTransportOk);
    const std::optional<UdpPeer::Datagram> request = agent.Receive();
    ASSERT_TRUE(request);
    agent.SendTo(request->port, "response");
    char buffer[64];
    std::uint32_t length = 0;
    std::uint8_t sender[4];
    std::uint16_t port = 0;
    ASSERT_EQ(transport.Receive(buffer, sizeof buffer, &length, sender, &port), kTransportOk);
    EXPECT_EQ(port, 161) << "a datagram from port 161 yields 161";
}

}  // namespace
