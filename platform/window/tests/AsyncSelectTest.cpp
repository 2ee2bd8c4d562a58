#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/Window.h"
#include "platform/window/tests/PumpUntil.h"
#include "platform/window/tests/WindowThread.h"
#include "tests/Eventually.h"

namespace {

using windowtest::PumpUntil;

constexpr std::uint32_t kNotify = plat::kWmUser + 1;
constexpr std::uintptr_t kSocketId = 77;

struct Notice {
    plat::WParam socket;
    long event;
    int error;
};
std::vector<Notice> notices;

std::string Describe(const std::vector<Notice>& list) {
    std::string text;
    for (const Notice& notice : list) {
        text += std::to_string(notice.socket) + ":" + std::to_string(notice.event) + "/" +
                std::to_string(notice.error) + " ";
    }
    return text;
}
int receivingFd = -1;  // when set, each read notice receives one datagram and re-arms, as a receive does
int datagramsTaken = 0;

plat::LResult NotifyProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                         plat::LParam lParam) {
    if (message != kNotify) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    notices.push_back({wParam, static_cast<long>(lParam & 0xFFFF), static_cast<int>(lParam >> 16)});
    if (receivingFd >= 0 && (lParam & 0xFFFF) == plat::kFdRead) {
        char buffer[64];
        datagramsTaken += recv(receivingFd, buffer, sizeof buffer, MSG_DONTWAIT) > 0;
        plat::RearmAsyncRead(receivingFd);
    }
    return 0;
}

// The window of another thread: takes one datagram per read notice and re-arms, as a transport does.
std::atomic<int> threadNotices{0};
std::atomic<int> threadReceiver{-1};

plat::LResult ThreadNotifyProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                               plat::LParam lParam) {
    if (message == kNotify) {
        char buffer[64];
        recv(threadReceiver, buffer, sizeof buffer, MSG_DONTWAIT);
        plat::RearmAsyncRead(threadReceiver);
        ++threadNotices;
        return 0;
    }
    if (message == plat::kWmDestroy) {
        plat::PostQuitMessage(0);
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

bool Readable(int fd, int timeoutMs) {
    pollfd item{fd, POLLIN, 0};
    return poll(&item, 1, timeoutMs) == 1;
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1 on a free port.
int BoundSocket(int type, sockaddr_in& address) {
    const int fd = socket(AF_INET, type | SOCK_NONBLOCK, 0);
    address = Loopback(0);
    socklen_t length = sizeof address;
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return fd;
}

class AsyncSelectTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        plat::RegisterWindowClass("SocketNotices", NotifyProc);
        plat::RegisterWindowClass("ThreadSocketNotices", ThreadNotifyProc);
    }
    void SetUp() override {
        notices.clear();
        receivingFd = -1;
        datagramsTaken = 0;
        window_ = plat::CreateWindow("SocketNotices", "");
        receiver_ = BoundSocket(SOCK_DGRAM, receiverAddress_);
        sender_ = socket(AF_INET, SOCK_DGRAM, 0);
    }
    void TearDown() override {
        for (const int fd : {receiver_, sender_}) {
            plat::CancelAsyncSelect(fd);
            close(fd);
        }
        plat::DestroyWindow(window_);
    }

    void SendDatagrams(int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(sendto(sender_, "datagram", 8, 0, reinterpret_cast<const sockaddr*>(&receiverAddress_),
                             sizeof receiverAddress_),
                      8);
        }
    }

    plat::WindowHandle window_ = 0;
    int receiver_ = -1;
    int sender_ = -1;
    sockaddr_in receiverAddress_{};
};

TEST_F(AsyncSelectTest, OneNoticePerDatagramWhenEachReceiveRearms) {
    receivingFd = receiver_;
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead | plat::kFdClose));
    SendDatagrams(5);
    ASSERT_TRUE(PumpUntil([] { return datagramsTaken == 5; }));
    plat::PumpWaiting(50);
    EXPECT_EQ(notices.size(), 5u) << "no notice without a datagram";
    for (const Notice& notice : notices) {
        EXPECT_EQ(notice.socket, kSocketId);
        EXPECT_EQ(notice.event, plat::kFdRead);
        EXPECT_EQ(notice.error, 0);
    }
    SendDatagrams(1);
    ASSERT_TRUE(PumpUntil([] { return datagramsTaken == 6; }));
    EXPECT_EQ(notices.size(), 6u);
}

TEST_F(AsyncSelectTest, WithoutAReceiveThereIsNoSecondNotice) {
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead));
    SendDatagrams(3);
    ASSERT_TRUE(PumpUntil([] { return !notices.empty(); }));
    plat::PumpWaiting(50);
    EXPECT_EQ(notices.size(), 1u);
    plat::RearmAsyncRead(receiver_);  // datagrams still wait: announced again at once
    ASSERT_TRUE(PumpUntil([] { return notices.size() == 2; }));
}

TEST_F(AsyncSelectTest, NothingArrivesAfterCancel) {
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead));
    SendDatagrams(1);
    pollfd item{plat::QueueFd(), POLLIN, 0};
    ASSERT_EQ(poll(&item, 1, 5000), 1) << "the notice is queued";
    plat::CancelAsyncSelect(receiver_);
    plat::PumpWaiting(50);
    EXPECT_TRUE(notices.empty());

    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead));
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, 0));
    plat::PumpWaiting(50);
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(plat::AsyncSelect(receiver_, kSocketId, 0, kNotify, plat::kFdRead)) << "no window";
    EXPECT_FALSE(plat::AsyncSelect(-1, kSocketId, window_, kNotify, plat::kFdRead)) << "no socket";
}

// The owner waits for the socket itself: a datagram alone makes the queue's descriptor readable, and
// once its notice is taken and the socket re-armed with nothing left, the descriptor is quiet again.
TEST_F(AsyncSelectTest, ADatagramAloneMakesTheQueueFdReadable) {
    const int queueFd = plat::QueueFd();
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead));
    EXPECT_FALSE(Readable(queueFd, 0));
    SendDatagrams(1);
    ASSERT_TRUE(Readable(queueFd, 5000));
    plat::Message message;
    ASSERT_TRUE(plat::PeekMessage(message, true));
    EXPECT_EQ(message.window, window_);
    EXPECT_EQ(message.message, kNotify);
    EXPECT_EQ(message.wParam, kSocketId);
    EXPECT_EQ(message.lParam, plat::kFdRead);
    EXPECT_FALSE(Readable(queueFd, 0)) << "one notice per datagram";
    char buffer[16];
    ASSERT_EQ(recv(receiver_, buffer, sizeof buffer, 0), 8);
    plat::RearmAsyncRead(receiver_);
    EXPECT_FALSE(Readable(queueFd, 20)) << "nothing waits any more";
    SendDatagrams(1);
    EXPECT_TRUE(Readable(queueFd, 5000)) << "re-armed";
}

// Selected from this thread for a window of a thread that is already waiting in GetMessage.
TEST_F(AsyncSelectTest, WindowOfAnotherThreadHearsItsSocket) {
    threadNotices = 0;
    threadReceiver = receiver_;
    windowtest::WindowThread owner("ThreadSocketNotices");
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, owner.Window(), kNotify, plat::kFdRead));
    for (int sent = 1; sent <= 3; ++sent) {
        SendDatagrams(1);
        // Without pumping: another thread owns the window.
        ASSERT_TRUE(testsupport::Eventually([&] { return threadNotices == sent; })) << threadNotices;
    }
    plat::CancelAsyncSelect(receiver_);
    SendDatagrams(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(threadNotices, 3);
}

TEST_F(AsyncSelectTest, ADestroyedWindowsSelectionsEndWithIt) {
    const int queueFd = plat::QueueFd();
    const plat::WindowHandle going = plat::CreateWindow("SocketNotices", "");
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, going, kNotify, plat::kFdRead));
    plat::DestroyWindow(going);
    SendDatagrams(1);
    EXPECT_FALSE(Readable(queueFd, 50)) << "no notice for a window that is gone";
    plat::Message message;
    EXPECT_FALSE(plat::PeekMessage(message, true));
    ASSERT_TRUE(plat::AsyncSelect(receiver_, kSocketId, window_, kNotify, plat::kFdRead));
    ASSERT_TRUE(PumpUntil([] { return notices.size() == 1; })) << "the socket can be selected again";
}

TEST_F(AsyncSelectTest, StreamConnectAcceptAndClose) {
    sockaddr_in listenAddress{};
    const int listener = BoundSocket(SOCK_STREAM, listenAddress);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_TRUE(plat::AsyncSelect(listener, 1, window_, kNotify, plat::kFdAccept));
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    // Selected before the connect starts, as a program does it.
    ASSERT_TRUE(
        plat::AsyncSelect(client, 2, window_, kNotify, plat::kFdConnect | plat::kFdRead | plat::kFdClose));
    connect(client, reinterpret_cast<const sockaddr*>(&listenAddress), sizeof listenAddress);

    ASSERT_TRUE(PumpUntil([] { return notices.size() >= 2; })) << Describe(notices);
    plat::PumpWaiting(30);
    ASSERT_EQ(notices.size(), 2u) << Describe(notices);
    for (const Notice& notice : notices) {
        EXPECT_EQ(notice.event, notice.socket == 1 ? plat::kFdAccept : plat::kFdConnect);
        EXPECT_EQ(notice.error, 0);
    }
    const int served = accept(listener, nullptr, nullptr);
    ASSERT_GE(served, 0);
    notices.clear();
    ASSERT_EQ(write(served, "x", 1), 1);
    close(served);
    ASSERT_TRUE(PumpUntil([] { return notices.size() >= 2; })) << Describe(notices);
    plat::PumpWaiting(30);
    ASSERT_EQ(notices.size(), 2u) << "one read, one close: " << Describe(notices);
    EXPECT_EQ(notices[0].event, plat::kFdRead);
    EXPECT_EQ(notices[1].event, plat::kFdClose);
    EXPECT_EQ(notices[1].error, 0);

    for (const int fd : {listener, client}) {
        plat::CancelAsyncSelect(fd);
        close(fd);
    }
}

TEST_F(AsyncSelectTest, ConnectionSelectedOnceConnectedReportsItsResetAsAClose) {
    sockaddr_in listenAddress{};
    const int listener = BoundSocket(SOCK_STREAM, listenAddress);
    ASSERT_EQ(listen(listener, 4), 0);
    const int client = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(connect(client, reinterpret_cast<const sockaddr*>(&listenAddress), sizeof listenAddress), 0);
    const int served = accept(listener, nullptr, nullptr);
    ASSERT_GE(served, 0);
    ASSERT_TRUE(plat::AsyncSelect(client, 4, window_, kNotify, plat::kFdRead | plat::kFdClose));
    const linger abortive{1, 0};
    setsockopt(served, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    close(served);  // the peer's first and only word is a reset
    ASSERT_TRUE(PumpUntil([] { return !notices.empty(); })) << "the reset goes unreported";
    plat::PumpWaiting(30);
    ASSERT_EQ(notices.size(), 1u) << Describe(notices);
    EXPECT_EQ(notices[0].event, plat::kFdClose);
    EXPECT_EQ(notices[0].error, 10054);
    plat::CancelAsyncSelect(client);
    close(client);
    close(listener);
}

TEST_F(AsyncSelectTest, RefusedConnectReportsTheError) {
    sockaddr_in closedAddress{};
    const int placeholder = BoundSocket(SOCK_STREAM, closedAddress);  // bound, not listening: refuses
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_TRUE(plat::AsyncSelect(client, 3, window_, kNotify, plat::kFdConnect | plat::kFdClose));
    connect(client, reinterpret_cast<const sockaddr*>(&closedAddress), sizeof closedAddress);
    ASSERT_TRUE(PumpUntil([] { return !notices.empty(); }));
    plat::PumpWaiting(30);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].event, plat::kFdConnect);
    EXPECT_EQ(notices[0].error, 10061);
    plat::CancelAsyncSelect(client);
    close(client);
    close(placeholder);
}

}  // namespace
