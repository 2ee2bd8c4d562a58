#include <gtest/gtest.h>

#include <string>

#include "transport/DeviceChannel.h"
#include "transport/DlcTransport.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"
#include "transport/tests/DeviceStoreFixture.h"
#include "transport/tests/ScriptedSockets.h"

// Without VORLANE_LAN this machine has no IPX and no DLC: those transports are made but never send.
namespace {

constexpr const char* kAdapter = "0000F0123456";

using DeviceChannelStore = DeviceStoreFixture;

TEST_F(DeviceChannelStore, OpenTransportFollowsThePreferredProtocolElseTheMask) {
    struct Case {
        std::optional<std::uint32_t> protocols, preferred;
        std::uint8_t expected;  // 0: no transport
    } cases[] = {
        {6, 2, kProtocolIp},
        {6, 4, kProtocolDlc},
        {2, 4, kProtocolDlc},  // the preference wins
        {5, 0, kProtocolIpx},
        {4, 0, kProtocolDlc},
        {0, 0, 0},
        {7, std::nullopt, kProtocolIp},  // a missing preference takes the mask, 7, which names none
        {3, 8, kProtocolIp},
        {1, 3, kProtocolIpx},
    };
    for (const Case& c : cases) {
        WriteEntry(kAdapter, {.protocols = c.protocols,
                              .preferred = c.preferred,
                              .ip = "10.0.0.7",
                              .ipx = "0000000100A0B1C2D3E4"});
        DeviceChannel channel(1, 1, 0, nullptr, nullptr);
        std::string address;
        std::unique_ptr<DatagramTransport> transport = channel.OpenTransport(kAdapter, address);
        SCOPED_TRACE(testing::Message() << "cProtocols " << c.protocols.value_or(99) << " pProtocol "
                                        << c.preferred.value_or(99));
        if (c.expected == 0) {
            EXPECT_EQ(transport, nullptr);
            continue;
        }
        ASSERT_NE(transport, nullptr);
        EXPECT_EQ(channel.CurrentProtocol(), c.expected);
        switch (c.expected) {
            case kProtocolIp:
                EXPECT_NE(dynamic_cast<UdpTransport*>(transport.get()), nullptr);
                EXPECT_EQ(address, "10.0.0.7");
                break;
            case kProtocolIpx:
                EXPECT_NE(dynamic_cast<IpxTransport*>(transport.get()), nullptr);
                EXPECT_EQ(address, "0000000100A0B1C2D3E4");
                break;
            default:
                EXPECT_NE(dynamic_cast<DlcTransport*>(transport.get()), nullptr);
                EXPECT_EQ(address, kAdapter);
        }
        EXPECT_EQ(PreferredProtocol(kAdapter), c.preferred) << "the choice is not stored";
    }
}

TEST_F(DeviceChannelStore, SwitchProtocolFallsBackInOrderAndStoresTheChoice) {
    struct Case {
        std::uint8_t failed;
        std::uint32_t mask;
        int answer;
        std::uint32_t stored;
    } cases[] = {
        {kProtocolIp, 7, 0, kProtocolDlc},
        {kProtocolIp, 3, 0, kProtocolIpx},
        {kProtocolIp, 2, 1, 9},
        {kProtocolIpx, 7, 0, kProtocolDlc},
        {kProtocolIpx, 3, 0, kProtocolIp},
        {kProtocolIpx, 1, 1, 9},
        {kProtocolDlc, 7, 0, kProtocolIp},
        {kProtocolDlc, 5, 0, kProtocolIpx},
        {kProtocolDlc, 4, 1, 9},
        {0, 7, 1, 9},
        {3, 7, 1, 9},
    };
    for (const Case& c : cases) {
        WriteEntry(kAdapter, {.protocols = c.mask, .preferred = 9});
        EXPECT_EQ(DeviceChannel::SwitchProtocol(kAdapter, c.failed), c.answer)
            << "failed " << int(c.failed) << " mask " << c.mask;
        EXPECT_EQ(PreferredProtocol(kAdapter), c.stored) << "failed " << int(c.failed) << " mask " << c.mask;
    }
}

TEST_F(DeviceChannelStore, SwitchProtocolNeedsAReadableEntryOfAnAdapterName) {
    EXPECT_EQ(DeviceChannel::SwitchProtocol(kAdapter, kProtocolIp), 1);
    EXPECT_EQ(PreferredProtocol(kAdapter), std::nullopt) << "no entry is created";

    WriteEntry(kAdapter, {.protocols = std::nullopt, .preferred = 2});
    EXPECT_EQ(DeviceChannel::SwitchProtocol(kAdapter, kProtocolIp), 1);
    EXPECT_EQ(PreferredProtocol(kAdapter), 2u);

    WriteEntry("0000F012345", {.protocols = 6, .preferred = 2});
    EXPECT_EQ(DeviceChannel::SwitchProtocol("0000F012345", kProtocolIp), 1);
    EXPECT_EQ(PreferredProtocol("0000F012345"), 2u);
}

TEST_F(DeviceChannelStore, EverySendFailingAlternatesProtocolsThreeTimesAndLeavesTheLastSwitch) {
    // Every IPX send fails, and this machine has no DLC: IPX, DLC, then IPX again, each failure
    // followed by a switch.
    ScriptedSockets sockets;
    sockets.Script().sendError = plat::kWsaEhostunreach;
    WriteEntry(
        kAdapter,
        {.protocols = kProtocolIpx | kProtocolDlc, .preferred = kProtocolIpx, .ipx = "0000000100A0B1C2D3E4"});
    DeviceChannel channel(1, 1, 0, nullptr, nullptr);
    const char request[] = "request";
    EXPECT_EQ(channel.Send(request, sizeof request, kAdapter), kTransportSendFailed);
    EXPECT_EQ(sockets.Script().sends, 2) << "one send by each of the two IPX transports";
    EXPECT_EQ(channel.CurrentProtocol(), kProtocolIpx);
    EXPECT_EQ(PreferredProtocol(kAdapter), std::optional<std::uint32_t>(kProtocolDlc));
}

TEST_F(DeviceChannelStore, NothingToSendToGivesSendFailed) {
    DeviceChannel channel(1, 1, 0, nullptr, nullptr);
    const char request[] = "request";
    EXPECT_EQ(channel.Send(request, sizeof request, kAdapter), kTransportSendFailed);
    WriteEntry(kAdapter, {.protocols = 0, .preferred = 0});
    EXPECT_EQ(channel.Send(request, sizeof request, kAdapter), kTransportSendFailed);
    EXPECT_EQ(channel.Send(request, sizeof request, "not an adapter"), kTransportSendFailed);
}

TEST_F(DeviceChannelStore, ReceiveWithoutSendFindsNoTransport) {
    DeviceChannel channel(1, 1, 0, nullptr, nullptr);
    char buffer[16];
    std::uint32_t length = 0;
    std::uint8_t sender[10];
    std::uint16_t port = 0;
    EXPECT_EQ(channel.Receive(buffer, sizeof buffer, &length, sender, &port), kTransportReceiveFailed);
    EXPECT_EQ(channel.Bind(0), kTransportNotOpen);
    EXPECT_EQ(channel.GetSocket(), DatagramTransport::kNoSocket);
}

}  // namespace
