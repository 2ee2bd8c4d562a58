// IPv4 through the library over the host's sockets, on the loopback.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/sock/tests/SocketTestSupport.h"
#include "tests/Eventually.h"

namespace plat {
namespace {

using test::Generic;
using test::Inet;
using test::PortOf;
using test::Readable;

// Whether the thread `tid` of this process sleeps in a blocking call. Read without allocating, so that
// the look itself never holds that thread up.
bool Sleeping(pid_t tid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/stat", static_cast<int>(tid));
    char stat[512];
    const int fd = open(path, O_RDONLY);
    const ssize_t got = fd < 0 ? -1 : read(fd, stat, sizeof stat - 1);
    if (fd >= 0) {
        close(fd);
    }
    if (got <= 0) {
        return false;
    }
    stat[got] = '\0';
    const char* nameEnd = std::strrchr(stat, ')');  // the state follows the thread's name
    return nameEnd != nullptr && std::strncmp(nameEnd, ") S", 3) == 0;
}

class InetSocketTest : public test::StartedLibrary {
  protected:
    SocketHandle BoundUdp() {
        SocketHandle s = vorsock_socket(kAfInet, kSockDgram, kIpProtoUdp);
        auto any = Inet("127.0.0.1", 0);
        EXPECT_EQ(vorsock_bind(s, Generic(any), sizeof any), 0);
        return s;
    }
    SocketHandle Listening(std::uint16_t& port) {
        SocketHandle s = vorsock_socket(kAfInet, kSockStream, 0);
        auto any = Inet("127.0.0.1", 0);
        EXPECT_EQ(vorsock_bind(s, Generic(any), sizeof any), 0);
        EXPECT_EQ(vorsock_listen(s, 4), 0);
        port = PortOf(s);
        return s;
    }
};

TEST_F(InetSocketTest, DatagramsWithTheirSenderAndTheirLimits) {
    SocketHandle a = BoundUdp();
    SocketHandle b = BoundUdp();
    auto toB = Inet("127.0.0.1", PortOf(b));
    ASSERT_EQ(vorsock_sendto(a, "hello", 5, 0, Generic(toB), sizeof toB), 5);
    ASSERT_TRUE(Readable(b, 2000));
    char buffer[16] = {};
    SocketAddressIn from{};
    int fromLength = sizeof from;
    ASSERT_EQ(
        vorsock_recvfrom(b, buffer, sizeof buffer, 0, reinterpret_cast<SocketAddress*>(&from), &fromLength),
        5);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(ntohs(from.port), PortOf(a));
    EXPECT_EQ(fromLength, 16);

    // Too long for the buffer: the first part, then 10040; the rest of the datagram is gone.
    ASSERT_EQ(vorsock_sendto(a, "0123456789", 10, 0, Generic(toB), sizeof toB), 10);
    ASSERT_TRUE(Readable(b, 2000));
    EXPECT_EQ(vorsock_recv(b, buffer, 4, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEmsgsize);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    // WSARecvEx gives the first part and says so.
    ASSERT_EQ(vorsock_sendto(a, "abcdefgh", 8, 0, Generic(toB), sizeof toB), 8);
    ASSERT_TRUE(Readable(b, 2000));
    int flags = 0;
    EXPECT_EQ(vorsock_WSARecvEx(b, buffer, 3, &flags), 3);
    EXPECT_EQ(flags, kMsgPartial);

    std::uint32_t nonBlocking = 1;
    ASSERT_EQ(vorsock_ioctlsocket(b, kFionbio, &nonBlocking), 0);
    EXPECT_EQ(vorsock_recv(b, buffer, sizeof buffer, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEwouldblock);

    auto toAll = Inet("255.255.255.255", PortOf(b));
    EXPECT_EQ(vorsock_sendto(a, "x", 1, 0, Generic(toAll), sizeof toAll), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEacces) << "a broadcast needs the broadcast option";
    vorsock_closesocket(a);
    vorsock_closesocket(b);
}

TEST_F(InetSocketTest, SelectWaitsForItsTimeOutWhenNothingComes) {
    SocketHandle s = BoundUdp();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Readable(s, 300));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
    FdSet empty;
    FdZero(empty);
    TimeValue zero{0, 0};
    EXPECT_EQ(vorsock_select(0, &empty, nullptr, nullptr, &zero), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEinval);
    vorsock_closesocket(s);
}

TEST_F(InetSocketTest, BlockingReceiveEndsAtItsTimeOut) {
    SocketHandle s = BoundUdp();
    int timeout = 200;
    ASSERT_EQ(vorsock_setsockopt(s, kSolSocket, kSoRcvTimeo, reinterpret_cast<const char*>(&timeout),
                                 sizeof timeout),
              0);
    char buffer[4];
    EXPECT_EQ(vorsock_recv(s, buffer, sizeof buffer, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEtimedout);
    vorsock_closesocket(s);
}

TEST_F(InetSocketTest, ConnectToAClosedPortIsRefused) {
    std::uint16_t port = 0;
    SocketHandle listener = Listening(port);
    vorsock_closesocket(listener);  // the port is free again, nobody listens
    SocketHandle s = vorsock_socket(kAfInet, kSockStream, kIpProtoTcp);
    auto to = Inet("127.0.0.1", port);
    EXPECT_EQ(vorsock_connect(s, Generic(to), sizeof to), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEconnrefused);
    vorsock_closesocket(s);
}

TEST_F(InetSocketTest, StreamConnectsWithoutBlockingThenCarriesDataToItsEnd) {
    std::uint16_t port = 0;
    SocketHandle listener = Listening(port);
    SocketHandle client = vorsock_socket(kAfInet, kSockStream, 0);
    test::SetFlag(client, kSoKeepAlive);
    int keepAlive = 0;
    int length = sizeof keepAlive;
    ASSERT_EQ(
        vorsock_getsockopt(client, kSolSocket, kSoKeepAlive, reinterpret_cast<char*>(&keepAlive), &length),
        0);
    EXPECT_NE(keepAlive, 0);
    std::uint32_t nonBlocking = 1;
    vorsock_ioctlsocket(client, kFionbio, &nonBlocking);
    auto to = Inet("127.0.0.1", port);
    int result = vorsock_connect(client, Generic(to), sizeof to);
    if (result != 0) {
        EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEwouldblock);
    }
    FdSet write;
    FdZero(write);
    FdAdd(client, write);
    TimeValue timeout{2, 0};
    ASSERT_EQ(vorsock_select(0, nullptr, &write, nullptr, &timeout), 1);

    SocketAddressIn peer{};
    int peerLength = sizeof peer;
    SocketHandle server = vorsock_accept(listener, reinterpret_cast<SocketAddress*>(&peer), &peerLength);
    ASSERT_NE(server, kInvalidSocket);
    EXPECT_EQ(ntohs(peer.port), PortOf(client));
    ASSERT_EQ(vorsock_send(client, "job", 3, 0), 3);
    ASSERT_EQ(vorsock_shutdown(client, kShutSend), 0);
    char buffer[8] = {};
    ASSERT_TRUE(Readable(server, 2000));
    EXPECT_EQ(vorsock_recv(server, buffer, sizeof buffer, 0), 3);
    EXPECT_EQ(vorsock_recv(server, buffer, sizeof buffer, 0), 0) << "the end of the client's stream";

    // An abortive close resets the connection.
    Linger abortive{1, 0};
    vorsock_setsockopt(server, kSolSocket, kSoLinger, reinterpret_cast<const char*>(&abortive),
                       sizeof abortive);
    vorsock_closesocket(server);
    ASSERT_TRUE(Readable(client, 2000));
    EXPECT_EQ(vorsock_recv(client, buffer, sizeof buffer, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEconnreset);
    vorsock_closesocket(client);
    vorsock_closesocket(listener);
}

TEST_F(InetSocketTest, RepeatedConnectTellsInProgressThenConnected) {
    std::uint16_t port = 0;
    SocketHandle listener = Listening(port);
    SocketHandle client = vorsock_socket(kAfInet, kSockStream, 0);
    std::uint32_t nonBlocking = 1;
    vorsock_ioctlsocket(client, kFionbio, &nonBlocking);
    auto to = Inet("127.0.0.1", port);
    if (vorsock_connect(client, Generic(to), sizeof to) != 0) {
        EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEwouldblock);
    }
    ASSERT_TRUE(Readable(listener, 2000));
    SocketHandle server = vorsock_accept(listener, nullptr, nullptr);
    ASSERT_NE(server, kInvalidSocket);
    // A caller that asks again until it no longer hears "already" must then hear that it is
    // connected (0, or 10056 "is connected").
    bool connected = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);  // a loaded machine
    while (!connected && std::chrono::steady_clock::now() < deadline) {
        connected =
            vorsock_connect(client, Generic(to), sizeof to) == 0 || vorsock_WSAGetLastError() == kWsaEisconn;
        if (!connected) {
            ASSERT_EQ(vorsock_WSAGetLastError(), kWsaEalready);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    EXPECT_TRUE(connected);
    vorsock_closesocket(server);
    vorsock_closesocket(client);
    vorsock_closesocket(listener);
}

TEST_F(InetSocketTest, NegativeLengthIsRefusedAndNothingIsSent) {
    std::uint16_t port = 0;
    SocketHandle listener = Listening(port);
    SocketHandle client = vorsock_socket(kAfInet, kSockStream, 0);
    auto to = Inet("127.0.0.1", port);
    ASSERT_EQ(vorsock_connect(client, Generic(to), sizeof to), 0);
    SocketHandle server = vorsock_accept(listener, nullptr, nullptr);
    ASSERT_NE(server, kInvalidSocket);
    std::vector<char> buffer(16, 'x');
    EXPECT_EQ(vorsock_send(client, buffer.data(), -1, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEfault);
    EXPECT_FALSE(Readable(server, 100)) << "no bytes from beyond the caller's buffer";
    SocketHandle udp = BoundUdp();
    EXPECT_EQ(vorsock_sendto(udp, buffer.data(), -1, 0, Generic(to), sizeof to), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEfault);
    vorsock_closesocket(udp);
    vorsock_closesocket(server);
    vorsock_closesocket(client);
    vorsock_closesocket(listener);
}

TEST_F(InetSocketTest, CloseWakesABlockedReceive) {
    SocketHandle s = BoundUdp();
    const pid_t receiver = gettid();
    std::thread closer([s, receiver] {
        // Once the receive below waits (its thread sleeps), however late the test's thread gets there
        // (the bound is for a loaded machine), and a little later still.
        testsupport::Eventually([receiver] { return Sleeping(receiver); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        vorsock_closesocket(s);
    });
    char buffer[4];
    EXPECT_EQ(vorsock_recv(s, buffer, sizeof buffer, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEintr);
    closer.join();
}

TEST_F(InetSocketTest, NamesAndAddressTexts) {
    EXPECT_EQ(vorsock_inet_addr("192.168.1.20"), htonl(0xC0A80114));
    EXPECT_EQ(vorsock_inet_addr("not an address"), kInaddrNone);
    EXPECT_STREQ(vorsock_inet_ntoa(InetAddress{htonl(0x7F000001)}), "127.0.0.1");
    HostEntry* host = vorsock_gethostbyname("127.0.0.1");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->length, 4);
    std::uint32_t first;
    std::memcpy(&first, host->addresses[0], 4);
    EXPECT_EQ(first, htonl(0x7F000001));
    EXPECT_EQ(vorsock_gethostbyname("no-such-host.invalid"), nullptr);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaHostNotFound);
    char name[256];
    EXPECT_EQ(vorsock_gethostname(name, sizeof name), 0);
    EXPECT_EQ(vorsock_gethostname(name, 1), kSocketError);
    ServiceEntry* service = vorsock_getservbyname("snmp", "udp");
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(ntohs(service->port), 161);
    EXPECT_EQ(vorsock_htons(0x1234), htons(0x1234));
    EXPECT_EQ(vorsock_ntohl(htonl(7)), 7u);
}

}  // namespace
}  // namespace plat
