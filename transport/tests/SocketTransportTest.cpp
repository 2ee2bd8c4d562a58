#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "transport/IpxTransport.h"
#include "transport/tests/ScriptedSockets.h"

// The send, receive and close logic that the UDP and IPX transports share, and the IPX socket addresses
// they make, seen through a socket library whose answers the test chooses (the IPX transport binds its
// library by name).
namespace {

constexpr const char* kAddress = "0000000100A0B1C2D3E4";

class SocketTransportCounts : public ::testing::Test {
  protected:
    static TransportResult ReceiveOne(DatagramTransport& transport) {
        char buffer[16];
        std::uint32_t length = 0;
        std::uint8_t sender[IpxTransport::kSenderBytes];
        std::uint16_t port = 0;
        return transport.Receive(buffer, sizeof buffer, &length, sender, &port);
    }

    ScriptedSockets sockets_;
    SocketScript* script_ = &sockets_.Script();
};

TEST_F(SocketTransportCounts, EverySendIsTriedRetriesTimesUnlessTheConnectionIsLost) {
    struct Case {
        std::int32_t retries;
        int error;
        TransportResult result;
        int sends;
    } cases[] = {
        {3, 0, kTransportOk, 1},
        {3, plat::kWsaEhostunreach, kTransportSendFailed, 3},
        {2, plat::kWsaEnobufs, kTransportSendFailed, 2},
        {0, plat::kWsaEhostunreach, kTransportSendFailed, 1},  // at least one try
        {3, plat::kWsaEconnreset, kTransportNotOpen, 1},
        {3, plat::kWsaEconnaborted, kTransportNotOpen, 1},
    };
    for (const Case& c : cases) {
        *script_ = SocketScript{.sendError = c.error};
        IpxTransport transport(c.retries, 1, 0, nullptr, nullptr);
        ASSERT_EQ(transport.Bind(0), kTransportOk);
        EXPECT_EQ(transport.SendTo("x", 1, kAddress, 0x900F), c.result) << c.retries << " tries, " << c.error;
        EXPECT_EQ(script_->sends, c.sends) << c.retries << " tries, " << c.error;
    }
}

// Each retry waits with select up to the time-out, which a datagram that waits ends at once, then
// takes the datagram; a retry in which nothing came takes nothing.
TEST_F(SocketTransportCounts, EveryReceiveWaitsTheTimeOutOncePerRetryUnlessADatagramWaits) {
    struct Case {
        bool readable;
        bool arrivesInWait;
        int error;
        TransportResult result;
        std::vector<std::int32_t> waits;
        int receives;
    } cases[] = {
        {false, false, 0, kTransportTimedOut, {3, 3}, 0},
        {true, false, 0, kTransportOk, {3}, 1},
        {false, true, 0, kTransportOk, {3}, 1},
        {true, false, plat::kWsaEmsgsize, kTransportReceiveFailed, {3, 3}, 2},  // a datagram too large is
                                                                                // lost
        {true, false, plat::kWsaEconnreset, kTransportNotOpen, {3}, 1},
    };
    for (const Case& c : cases) {
        *script_ =
            SocketScript{.readable = c.readable, .arrivesInWait = c.arrivesInWait, .receiveError = c.error};
        IpxTransport transport(2, 3, 0, nullptr, nullptr);
        ASSERT_EQ(transport.Bind(0), kTransportOk);
        EXPECT_EQ(ReceiveOne(transport), c.result) << c.readable << c.arrivesInWait << ", " << c.error;
        EXPECT_EQ(script_->waits, c.waits) << c.readable << c.arrivesInWait << ", " << c.error;
        EXPECT_EQ(script_->receives, c.receives) << c.readable << c.arrivesInWait << ", " << c.error;
    }
}

TEST_F(SocketTransportCounts, ASocketIsClosedOnceAndOneNeverMadeNever) {
    struct Case {
        bool makesSockets, binds;
        TransportResult bound;
        std::vector<plat::SocketHandle> closedAtBind;
        std::vector<plat::SocketHandle> closedAtEnd;
    } cases[] = {
        {true, true, kTransportOk, {}, {kScriptedSocket}},
        {true, false, kTransportBindFailed, {kScriptedSocket}, {kScriptedSocket}},
        {false, true, kTransportBindFailed, {}, {}},
    };
    for (const Case& c : cases) {
        *script_ = SocketScript{.makesSockets = c.makesSockets, .binds = c.binds};
        auto transport = std::make_unique<IpxTransport>(1, 1, 0, nullptr, nullptr);
        EXPECT_EQ(transport->Bind(0x9010), c.bound);
        EXPECT_EQ(script_->closed, c.closedAtBind) << c.makesSockets << ", " << c.binds;
        transport.reset();
        EXPECT_EQ(script_->closed, c.closedAtEnd) << c.makesSockets << ", " << c.binds;
        EXPECT_EQ(script_->cleanups, 1) << "the library started once is stopped once";
    }
}

TEST_F(SocketTransportCounts, IpxAddressesGoOnTheWireAsNetworkNodeAndSocket) {
    IpxTransport transport(1, 1, kTransportBroadcast, nullptr, nullptr);
    ASSERT_EQ(transport.Bind(0), kTransportOk);
    ASSERT_EQ(transport.SendTo("x", 1, kAddress, 0x900F), kTransportOk);
    EXPECT_EQ(script_->destination, (std::vector<std::uint8_t>{6, 0, 0x00, 0x00, 0x00, 0x01, 0x00, 0xA0, 0xB1,
                                                               0xC2, 0xD3, 0xE4, 0x90, 0x0F}));
    ASSERT_EQ(transport.Broadcast("x", 1, 0x900F), kTransportOk);
    EXPECT_EQ(script_->destination,
              (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x90, 0x0F}));
}

}  // namespace
