// IPX datagrams and SPX streams through the library over the simulated LAN.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/lan/LanFrame.h"
#include "platform/lan/LanSettings.h"
#include "platform/lan/tests/LanTestSupport.h"
#include "platform/sock/tests/SocketTestSupport.h"

namespace plat {
namespace {

using test::Generic;
using test::Ipx;
using test::Readable;

const std::string kPc = "02000000000A";
const std::string kCard = "00A0B1C2D3E4";

class LanSocketTest : public test::StartedLibrary {
  protected:
    void SetUp() override {
        setenv("VORLANE_STATION", kPc.c_str(), 1);
        test::StartedLibrary::SetUp();
    }
    void TearDown() override {
        test::StartedLibrary::TearDown();
        unsetenv("VORLANE_STATION");
    }
    SocketHandle BoundIpx(const std::string& node, std::uint16_t socket) {
        SocketHandle s = vorsock_socket(kAfIpx, kSockDgram, 1004);
        EXPECT_NE(s, kInvalidSocket);
        auto address = Ipx(0, node, socket);
        EXPECT_EQ(vorsock_bind(s, Generic(address), sizeof address), 0);
        return s;
    }
    SocketHandle ListeningSpx(const std::string& node, std::uint16_t socket) {
        SocketHandle s = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
        auto address = Ipx(0, node, socket);
        EXPECT_EQ(vorsock_bind(s, Generic(address), sizeof address), 0);
        EXPECT_EQ(vorsock_listen(s, 2), 0);
        return s;
    }

    test::TempLan lan_;
};

TEST_F(LanSocketTest, IpxDatagramsReachTheSocketOfTheirNodeAndBroadcastNeedsTheOption) {
    SocketHandle pc = BoundIpx("000000000000", 0x9010);  // node 0: the PC's own station
    SocketHandle card = BoundIpx(kCard, 0x900F);
    SocketAddressIpx name{};
    int nameLength = sizeof name;
    ASSERT_EQ(vorsock_getsockname(pc, reinterpret_cast<SocketAddress*>(&name), &nameLength), 0);
    EXPECT_EQ(nameLength, 14);
    auto expected = Ipx(LocalIpxNetwork(), kPc, 0x9010);
    EXPECT_EQ(std::memcmp(&name, &expected, 14), 0);

    auto toCard = Ipx(0, kCard, 0x900F);
    ASSERT_EQ(vorsock_sendto(pc, "get", 3, 0, Generic(toCard), sizeof toCard), 3);
    ASSERT_TRUE(Readable(card, 2000));
    char buffer[32] = {};
    SocketAddressIpx from{};
    int fromLength = sizeof from;
    ASSERT_EQ(vorsock_recvfrom(card, buffer, sizeof buffer, 0, reinterpret_cast<SocketAddress*>(&from),
                               &fromLength),
              3);
    EXPECT_EQ(std::memcmp(&from, &name, 14), 0) << "the sender's network, node and socket";

    auto toAll = Ipx(0, "FFFFFFFFFFFF", 0x900F);
    EXPECT_EQ(vorsock_sendto(pc, "x", 1, 0, Generic(toAll), sizeof toAll), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEacces);
    test::SetFlag(pc, kSoBroadcast);
    ASSERT_EQ(vorsock_sendto(pc, "all", 3, 0, Generic(toAll), sizeof toAll), 3);
    ASSERT_TRUE(Readable(card, 2000));
    EXPECT_EQ(vorsock_recv(card, buffer, sizeof buffer, 0), 3);

    std::string tooLong(kIpxMaxData + 1, 'x');
    EXPECT_EQ(vorsock_sendto(pc, tooLong.data(), static_cast<int>(tooLong.size()), 0, Generic(toCard),
                             sizeof toCard),
              kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEmsgsize);
    vorsock_closesocket(pc);
    vorsock_closesocket(card);
}

TEST_F(LanSocketTest, EmptyIpxDatagramIsReceivedAsZeroBytes) {
    SocketHandle pc = BoundIpx("000000000000", 0x9010);
    SocketHandle card = BoundIpx(kCard, 0x900F);
    auto toCard = Ipx(0, kCard, 0x900F);
    ASSERT_EQ(vorsock_sendto(pc, nullptr, 0, 0, Generic(toCard), sizeof toCard), 0);
    ASSERT_EQ(vorsock_sendto(pc, "x", 1, 0, Generic(toCard), sizeof toCard), 1);
    char buffer[8] = {};
    ASSERT_TRUE(Readable(card, 2000));
    EXPECT_EQ(vorsock_recv(card, buffer, sizeof buffer, 0), 0);
    ASSERT_TRUE(Readable(card, 2000));
    EXPECT_EQ(vorsock_recv(card, nullptr, 0, 0), kSocketError) << "a datagram into no room at all";
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEmsgsize);
    vorsock_closesocket(pc);
    vorsock_closesocket(card);
}

TEST_F(LanSocketTest, BoundSocketIsRefusedASecondTime) {
    SocketHandle first = BoundIpx("000000000000", 0x9010);
    SocketHandle second = vorsock_socket(kAfIpx, kSockDgram, 1004);
    auto same = Ipx(0, kPc, 0x9010);
    EXPECT_EQ(vorsock_bind(second, Generic(same), sizeof same), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEaddrinuse);
    vorsock_closesocket(first);
    EXPECT_EQ(vorsock_bind(second, Generic(same), sizeof same), 0);
    vorsock_closesocket(second);
}

TEST_F(LanSocketTest, UnboundIpxSocketHasNoNameAndBindsWhenItSends) {
    SocketHandle card = BoundIpx(kCard, 0x900F);
    SocketHandle s = vorsock_socket(kAfIpx, kSockDgram, 1004);
    SocketAddressIpx name{};
    int length = sizeof name;
    EXPECT_EQ(vorsock_getsockname(s, reinterpret_cast<SocketAddress*>(&name), &length), kSocketError);
    char byte;
    EXPECT_EQ(vorsock_recv(s, &byte, 1, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEinval);
    auto toCard = Ipx(0, kCard, 0x900F);
    ASSERT_EQ(vorsock_sendto(s, "?", 1, 0, Generic(toCard), sizeof toCard), 1);
    EXPECT_EQ(vorsock_getsockname(s, reinterpret_cast<SocketAddress*>(&name), &length), 0);
    vorsock_closesocket(s);
    vorsock_closesocket(card);
}

TEST_F(LanSocketTest, WithoutALanThereIsNoIpxSocket) {
    unsetenv("VORLANE_LAN");
    EXPECT_EQ(vorsock_socket(kAfIpx, kSockDgram, 1004), kInvalidSocket);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEafnosupport);
    EXPECT_EQ(vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx), kInvalidSocket);
}

TEST_F(LanSocketTest, SpxStreamConnectsCarriesDataAndEnds) {
    SocketHandle listener = ListeningSpx(kCard, 0x2000);
    SocketHandle client = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
    test::SetFlag(client, kSoKeepAlive);
    auto to = Ipx(0, kCard, 0x2000);
    ASSERT_EQ(vorsock_connect(client, Generic(to), sizeof to), 0);
    SocketAddressIpx peer{};
    int peerLength = sizeof peer;
    SocketHandle server = vorsock_accept(listener, reinterpret_cast<SocketAddress*>(&peer), &peerLength);
    ASSERT_NE(server, kInvalidSocket);
    EXPECT_EQ(std::memcmp(peer.node, "\x02\x00\x00\x00\x00\x0A", 6), 0);

    std::string job(20000, 'j');
    ASSERT_EQ(vorsock_send(client, job.data(), static_cast<int>(job.size()), 0),
              static_cast<int>(job.size()));
    ASSERT_EQ(vorsock_shutdown(client, kShutSend), 0);
    std::string got;
    char buffer[4096];
    int n;
    while (Readable(server, 2000) && (n = vorsock_recv(server, buffer, sizeof buffer, 0)) > 0) {
        got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, job);
    EXPECT_EQ(vorsock_send(server, " ", 1, 0), 1);
    ASSERT_TRUE(Readable(client, 2000));
    EXPECT_EQ(vorsock_recv(client, buffer, sizeof buffer, 0), 1);
    vorsock_closesocket(server);
    ASSERT_TRUE(Readable(client, 2000));
    EXPECT_EQ(vorsock_recv(client, buffer, sizeof buffer, 0), 0) << "the end of the server's stream";
    vorsock_closesocket(client);
    vorsock_closesocket(listener);
}

TEST_F(LanSocketTest, NonBlockingSpxConnectEndsInSelectAsWritableOrAsAnException) {
    SocketHandle listener = ListeningSpx(kCard, 0x2000);
    auto select = [](SocketHandle s, bool write) {
        FdSet set;
        FdZero(set);
        FdAdd(s, set);
        TimeValue timeout{5, 0};
        return write ? vorsock_select(0, nullptr, &set, nullptr, &timeout)
                     : vorsock_select(0, nullptr, nullptr, &set, &timeout);
    };
    auto connectWithoutBlocking = [](std::uint16_t socket) {
        SocketHandle s = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
        std::uint32_t nonBlocking = 1;
        vorsock_ioctlsocket(s, kFionbio, &nonBlocking);
        auto to = Ipx(0, kCard, socket);
        EXPECT_EQ(vorsock_connect(s, Generic(to), sizeof to), kSocketError);
        EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEwouldblock);
        return s;
    };
    SocketHandle good = connectWithoutBlocking(0x2000);
    EXPECT_EQ(select(good, true), 1);
    EXPECT_EQ(vorsock_send(good, "ok", 2, 0), 2);

    SocketHandle refused = connectWithoutBlocking(0x2001);
    EXPECT_EQ(select(refused, false), 1);
    int error = 0;
    int length = sizeof error;
    ASSERT_EQ(vorsock_getsockopt(refused, kSolSocket, kSoError, reinterpret_cast<char*>(&error), &length), 0);
    EXPECT_EQ(error, kWsaEconnrefused);
    FdSet write;
    FdZero(write);
    FdAdd(refused, write);
    TimeValue zero{0, 0};
    EXPECT_EQ(vorsock_select(0, nullptr, &write, nullptr, &zero), 0) << "a failed connect is never writable";
    vorsock_closesocket(refused);
    vorsock_closesocket(good);
    vorsock_closesocket(listener);
}

TEST_F(LanSocketTest, SpxConnectIsRefusedByAStationWithoutThatSocket) {
    SocketHandle present = BoundIpx(kCard, 0x900F);
    SocketHandle client = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
    auto to = Ipx(0, kCard, 0x2001);
    EXPECT_EQ(vorsock_connect(client, Generic(to), sizeof to), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEconnrefused);
    vorsock_closesocket(client);
    vorsock_closesocket(present);
}

TEST_F(LanSocketTest, SpxConnectToAnAbsentStationTimesOut) {
    SocketHandle client = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
    auto to = Ipx(0, "00A0B1000099", 0x2001);
    EXPECT_EQ(vorsock_connect(client, Generic(to), sizeof to), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEtimedout);
    vorsock_closesocket(client);
}

TEST_F(LanSocketTest, SpxPeerThatResetsIsSeenAsReset) {
    SocketHandle listener = ListeningSpx(kCard, 0x2000);
    SocketHandle client = vorsock_socket(kAfIpx, kSockStream, kNsProtoSpx);
    auto to = Ipx(0, kCard, 0x2000);
    ASSERT_EQ(vorsock_connect(client, Generic(to), sizeof to), 0);
    vorsock_closesocket(listener);  // the connection not yet taken is reset
    char byte;
    ASSERT_TRUE(Readable(client, 2000));
    EXPECT_EQ(vorsock_recv(client, &byte, 1, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEconnreset);
    EXPECT_EQ(vorsock_send(client, "x", 1, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEconnreset);
    vorsock_closesocket(client);
}

TEST_F(LanSocketTest, IpxAndSpxWithAStationInAnotherProcess) {
    test::PeerProcess ipxPeer({test::PeerProgram("lan_test_peer"), "ipx", kCard, "900F"});
    test::PeerProcess spxPeer({test::PeerProgram("lan_test_peer"), "spx", kCard, "2000"});
    ASSERT_TRUE(ipxPeer.Ready() && spxPeer.Ready());

    SocketHandle datagrams = BoundIpx("000000000000", 0x9010);
    auto toCard = Ipx(0, kCard, 0x900F);
    ASSERT_EQ(vorsock_sendto(datagrams, "ping", 4, 0, Generic(toCard), sizeof toCard), 4);
    ASSERT_TRUE(Readable(datagrams, 5000));
    char buffer[64] = {};
    EXPECT_EQ(vorsock_recv(datagrams, buffer, sizeof buffer, 0), 4);
    EXPECT_STREQ(buffer, "ping");

    SocketHandle stream = vorsock_socket(kAfIpx, kSockSeqPacket, kNsProtoSpx);
    auto toJob = Ipx(0, kCard, 0x2000);
    ASSERT_EQ(vorsock_connect(stream, Generic(toJob), sizeof toJob), 0);
    ASSERT_EQ(vorsock_send(stream, "status?", 7, 0), 7);
    ASSERT_TRUE(Readable(stream, 5000));
    EXPECT_EQ(vorsock_recv(stream, buffer, sizeof buffer, 0), 7);
    vorsock_closesocket(stream);
    vorsock_closesocket(datagrams);
}

}  // namespace
}  // namespace plat
