#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "transport/DeviceChannel.h"
#include "transport/DlcCommandLayer.h"
#include "transport/HexCodec.h"
#include "transport/tests/DeviceStoreFixture.h"
#include "transport/tests/LanTestEnvironment.h"
#include "transport/tests/PeerProcess.h"

// A print server named only by its adapter name (kPeerStation), whose peers answer on the protocols a
// test starts them for and stay silent on the others.
namespace {

const std::string kPeerIpx = std::string(kIpxNetwork) + kPeerStation;

struct Exchange {
    TransportResult sent = -1;
    TransportResult received = -1;
    std::string answer;
    std::string sender;  // hexadecimal
    std::uint16_t port = 0;
};

class DeviceChannelLan : public DeviceStoreFixture {
  protected:
    static void SetUpTestSuite() {
        UseLanIdentity();
        DlcInitialize();
    }

    static PeerProcess StartPeer(const char* protocol, bool silent = false) {
        const char* port = std::strcmp(protocol, "udp") == 0   ? "161"
                           : std::strcmp(protocol, "ipx") == 0 ? "0x900F"
                                                               : "10";
        std::vector<std::string> arguments{protocol, port, "--store", kPeerStation};
        if (silent) {
            arguments.emplace_back("--silent");
        }
        return PeerProcess(arguments, {std::string("VORLANE_STATION=") + kPeerStation,
                                       std::string("VORLANE_IPX_NETWORK=") + kIpxNetwork});
    }

    static void WriteDevice(std::uint32_t protocols, std::uint32_t preferred) {
        WriteEntry(kPeerStation,
                   {.protocols = protocols, .preferred = preferred, .ip = "127.0.0.1", .ipx = kPeerIpx});
    }

    static Exchange Run(DeviceChannel& channel, const std::string& request) {
        Exchange exchange;
        exchange.sent =
            channel.Send(request.data(), static_cast<std::uint32_t>(request.size()), kPeerStation);
        if (exchange.sent != kTransportOk) {
            return exchange;
        }
        char buffer[512];
        std::uint32_t length = 0;
        std::uint8_t sender[10] = {};
        exchange.received = channel.Receive(buffer, sizeof buffer, &length, sender, &exchange.port);
        if (exchange.received == kTransportOk) {
            exchange.answer.assign(buffer, length);
            const std::size_t senderBytes = channel.CurrentProtocol() == kProtocolIpx   ? 10
                                            : channel.CurrentProtocol() == kProtocolDlc ? 6
                                                                                        : 4;
            char text[21];
            BytesToHexText(text, sender, senderBytes);
            exchange.sender = text;
        }
        return exchange;
    }
};

TEST_F(DeviceChannelLan, ReachesThePrintServerOverItsPreferredProtocol) {
    struct Case {
        const char* peer;
        std::uint8_t protocol;
        std::string sender;
        std::uint16_t port;
    } cases[] = {
        {"udp", kProtocolIp, "7F000001", 161},
        {"ipx", kProtocolIpx, kPeerIpx, 0x900F},
        {"dlc", kProtocolDlc, kPeerStation, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.peer);
        PeerProcess peer = StartPeer(c.peer);
        ASSERT_TRUE(peer.WaitReady());
        WriteDevice(7, c.protocol);
        DeviceChannel channel(1, 1, 0, nullptr, nullptr);
        const Exchange exchange = Run(channel, "get");
        ASSERT_EQ(exchange.received, kTransportOk);
        EXPECT_EQ(exchange.answer, "echo:get");
        EXPECT_EQ(exchange.sender, c.sender);
        EXPECT_EQ(exchange.port, c.port);
        EXPECT_EQ(channel.CurrentProtocol(), c.protocol);
        EXPECT_EQ(PreferredProtocol(kPeerStation), c.protocol) << "an answering protocol stays preferred";
        channel.Close();
        EXPECT_EQ(channel.GetSocket(), DatagramTransport::kNoSocket);
    }
}

TEST_F(DeviceChannelLan, FallsBackWhenThePreferredProtocolStaysSilentAndStoresTheNewOneAtOnce) {
    struct Case {
        std::uint32_t protocols;
        std::uint8_t preferred;
        const char* answering;
        std::uint8_t fallBack;
    } cases[] = {
        {kProtocolIp | kProtocolDlc, kProtocolIp, "dlc", kProtocolDlc},
        {kProtocolIp | kProtocolIpx, kProtocolIp, "ipx", kProtocolIpx},
        {kProtocolIpx | kProtocolIp, kProtocolIpx, "udp", kProtocolIp},
        {kProtocolDlc | kProtocolIpx, kProtocolDlc, "ipx", kProtocolIpx},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answering);
        PeerProcess peer = StartPeer(c.answering);
        ASSERT_TRUE(peer.WaitReady());
        WriteDevice(c.protocols, c.preferred);
        DeviceChannel channel(1, 1, 0, nullptr, nullptr);
        const Exchange exchange = Run(channel, "get");
        ASSERT_EQ(exchange.sent, kTransportOk);
        ASSERT_EQ(exchange.received, kTransportOk);
        EXPECT_EQ(exchange.answer, "echo:get");
        EXPECT_EQ(channel.CurrentProtocol(), c.fallBack);
        // The peer read the store when the request reached it: the switch was written before.
        const std::optional<std::string> seen = peer.ReadLine();
        ASSERT_TRUE(seen);
        EXPECT_NE(seen->find("pProtocol=" + std::to_string(c.fallBack)), std::string::npos) << *seen;
        EXPECT_EQ(PreferredProtocol(kPeerStation), c.fallBack);
    }
}

TEST_F(DeviceChannelLan, ASilentSingleProtocolPrintServerGetsTheRequestThreeTimesAndKeepsItsPreference) {
    PeerProcess peer = StartPeer("udp", true);
    ASSERT_TRUE(peer.WaitReady());
    WriteDevice(kProtocolIp, kProtocolIp);
    DeviceChannel channel(1, 1, 0, nullptr, nullptr);
    const Exchange exchange = Run(channel, "get");
    EXPECT_EQ(exchange.received, kTransportTimedOut);
    // The request, then a resend after each of the two failed attempts.
    EXPECT_EQ(peer.ReadLines(500).size(), 3u);
    EXPECT_EQ(PreferredProtocol(kPeerStation), std::optional<std::uint32_t>(kProtocolIp));
}

TEST_F(DeviceChannelLan, APrintServerSilentOnEveryProtocolIsTriedInThreeCycles) {
    PeerProcess udp = StartPeer("udp", true);
    PeerProcess dlc = StartPeer("dlc", true);
    ASSERT_TRUE(udp.WaitReady());
    ASSERT_TRUE(dlc.WaitReady());
    WriteDevice(kProtocolIp | kProtocolDlc, kProtocolIp);
    DeviceChannel channel(1, 1, 0, nullptr, nullptr);
    const Exchange exchange = Run(channel, "get");
    EXPECT_EQ(exchange.received, kTransportTimedOut);
    // UDP: the request, 2 resends, the resend after the switch back, 2 resends; DLC: the resend after
    // the first switch, 2 resends, and the resend after the last switch.
    EXPECT_EQ(udp.ReadLines(500).size(), 6u);
    EXPECT_EQ(dlc.ReadLines(500).size(), 4u);
    EXPECT_EQ(PreferredProtocol(kPeerStation), std::optional<std::uint32_t>(kProtocolDlc));
}

}  // namespace
