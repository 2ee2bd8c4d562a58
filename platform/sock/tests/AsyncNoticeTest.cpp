// Notices of readable sockets to a window, through the library.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/lan/tests/LanTestSupport.h"
#include "platform/sock/tests/SocketTestSupport.h"
#include "tests/Eventually.h"

namespace plat {
namespace {

using test::Generic;

constexpr std::uint32_t kNotice = kWmUser + 1;

struct Received {
    SocketHandle socket;
    long event;
    std::string data;
};
std::vector<Received> received;

// Each read notice takes one datagram, as the suite's window procedures do.
LResult NoticeProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (message != kNotice) {
        return DefWindowProc(window, message, wParam, lParam);
    }
    char buffer[64] = {};
    int got = vorsock_recv(static_cast<SocketHandle>(wParam), buffer, sizeof buffer, 0);
    received.push_back({static_cast<SocketHandle>(wParam), static_cast<long>(lParam & 0xFFFF),
                        got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string()});
    return 0;
}

class AsyncNoticeTest : public test::StartedLibrary {
  protected:
    static void SetUpTestSuite() { RegisterWindowClass("SocketNoticeTest", NoticeProc); }
    void SetUp() override {
        test::StartedLibrary::SetUp();
        received.clear();
        window_ = CreateWindow("SocketNoticeTest", "");
    }
    void TearDown() override {
        DestroyWindow(window_);
        test::StartedLibrary::TearDown();
    }
    bool PumpUntil(std::size_t count) {
        auto deadline = std::chrono::steady_clock::now() + testsupport::kLoadedMachineWait;
        while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
            PumpWaiting(50);
        }
        return received.size() == count;
    }

    WindowHandle window_ = 0;
};

TEST_F(AsyncNoticeTest, OneNoticePerUdpDatagram) {
    SocketHandle receiver = vorsock_socket(kAfInet, kSockDgram, 0);
    auto any = test::Inet("127.0.0.1", 0);
    ASSERT_EQ(vorsock_bind(receiver, Generic(any), sizeof any), 0);
    ASSERT_EQ(vorsock_WSAAsyncSelect(receiver, window_, kNotice, kFdRead | kFdClose), 0);
    SocketHandle sender = vorsock_socket(kAfInet, kSockDgram, 0);
    auto to = test::Inet("127.0.0.1", test::PortOf(receiver));
    vorsock_sendto(sender, "one", 3, 0, Generic(to), sizeof to);
    vorsock_sendto(sender, "two", 3, 0, Generic(to), sizeof to);
    ASSERT_TRUE(PumpUntil(2));
    EXPECT_EQ(received[0].socket, receiver);
    EXPECT_EQ(received[0].event, kFdRead);
    EXPECT_EQ(received[0].data, "one");
    EXPECT_EQ(received[1].data, "two");
    PumpWaiting(100);
    EXPECT_EQ(received.size(), 2u) << "no notice without a datagram";
    std::uint32_t blocking = 0;
    EXPECT_EQ(vorsock_ioctlsocket(receiver, kFionbio, &blocking), kSocketError)
        << "notices keep it non-blocking";
    vorsock_closesocket(sender);
    vorsock_closesocket(receiver);
}

TEST_F(AsyncNoticeTest, IpxSocketSelectedBeforeItIsBoundGetsNoticesOnceBound) {
    test::TempLan lan;
    SocketHandle listener = vorsock_socket(kAfIpx, kSockDgram, 1004);
    ASSERT_EQ(vorsock_WSAAsyncSelect(listener, window_, kNotice, kFdRead | kFdClose), 0);
    auto trapSocket = test::Ipx(0, "000000000000", 0x9010);
    ASSERT_EQ(vorsock_bind(listener, Generic(trapSocket), sizeof trapSocket), 0);
    SocketHandle card = vorsock_socket(kAfIpx, kSockDgram, 1004);
    auto cardAddress = test::Ipx(0, "00A0B1C2D3E4", 0x900F);
    ASSERT_EQ(vorsock_bind(card, Generic(cardAddress), sizeof cardAddress), 0);
    SocketAddressIpx to{};
    int length = sizeof to;
    vorsock_getsockname(listener, reinterpret_cast<SocketAddress*>(&to), &length);
    vorsock_sendto(card, "trap1", 5, 0, Generic(to), sizeof to);
    vorsock_sendto(card, "trap2", 5, 0, Generic(to), sizeof to);
    ASSERT_TRUE(PumpUntil(2));
    EXPECT_EQ(received[0].data, "trap1");
    EXPECT_EQ(received[1].data, "trap2");
    vorsock_closesocket(card);
    vorsock_closesocket(listener);
}

}  // namespace
}  // namespace plat
