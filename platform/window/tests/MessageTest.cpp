#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/window/Window.h"
#include "platform/window/tests/PumpUntil.h"
#include "platform/window/tests/WindowThread.h"
#include "tests/Eventually.h"

namespace {

using windowtest::PumpUntil;
using windowtest::WindowThread;

enum : std::uint32_t {
    kRecord = plat::kWmUser + 1,
    kAnswerThread = plat::kWmUser + 2,  // answers 1 when it runs on another thread than the test's
    kPing = plat::kWmUser + 3,          // answers wParam + 1
    kSendTo = plat::kWmUser + 4,        // sends kPing (wParam) to window lParam and answers that
};

std::thread::id mainThread;
std::vector<plat::Message> recorded;  // only the main thread's windows record

plat::LResult MessageProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                          plat::LParam lParam) {
    switch (message) {
        case kRecord:
            recorded.push_back({window, message, wParam, lParam});
            return 0;
        case kAnswerThread:
            return std::this_thread::get_id() != mainThread;
        case kPing:
            return static_cast<plat::LResult>(wParam + 1);
        case kSendTo:
            return plat::SendMessage(static_cast<plat::WindowHandle>(lParam), kPing, wParam, 0);
        case plat::kWmDestroy:
            plat::PostQuitMessage(0);
            return 0;
        default:
            return plat::DefWindowProc(window, message, wParam, lParam);
    }
}

bool Readable(int fd) {
    pollfd item{fd, POLLIN, 0};
    return poll(&item, 1, 0) == 1;
}

class MessageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        mainThread = std::this_thread::get_id();
        plat::RegisterWindowClass("MessageTestClass", MessageProc);
    }
    void SetUp() override {
        recorded.clear();
        window_ = plat::CreateWindow("MessageTestClass", "messages");
        ASSERT_NE(window_, 0u);
    }
    void TearDown() override {
        plat::DestroyWindow(window_);
        plat::Message leftover;
        while (plat::PeekMessage(leftover, true)) {
        }
    }

    plat::WindowHandle window_ = 0;
};

TEST_F(MessageTest, PostedMessagesComeInOrderAndPeekCanLeaveThem) {
    for (plat::WParam i = 0; i < 3; ++i) {
        ASSERT_TRUE(plat::PostMessage(window_, kRecord, i, -static_cast<plat::LParam>(i)));
    }
    plat::Message message;
    ASSERT_TRUE(plat::PeekMessage(message, false));
    EXPECT_EQ(message.wParam, 0u);
    for (plat::WParam i = 0; i < 3; ++i) {
        ASSERT_TRUE(plat::GetMessage(message));
        EXPECT_EQ(message.window, window_);
        EXPECT_EQ(message.message, kRecord);
        EXPECT_EQ(message.wParam, i);
        EXPECT_EQ(message.lParam, -static_cast<plat::LParam>(i));
        plat::DispatchMessage(message);
    }
    EXPECT_FALSE(plat::PeekMessage(message, true));
    EXPECT_EQ(recorded.size(), 3u);
}

TEST_F(MessageTest, QuitEndsGetMessageAndPump) {
    plat::PostQuitMessage(7);
    plat::Message message;
    EXPECT_FALSE(plat::GetMessage(message));
    EXPECT_EQ(message.message, plat::kWmQuit);
    EXPECT_EQ(message.wParam, 7u);

    plat::PostMessage(window_, kRecord, 1, 0);
    plat::PostQuitMessage(0);
    plat::PostMessage(window_, kRecord, 2, 0);
    EXPECT_FALSE(plat::PumpWaiting(0));
    ASSERT_EQ(recorded.size(), 1u) << "the pump stops at the quit";
    EXPECT_TRUE(plat::PumpWaiting(0));
    EXPECT_EQ(recorded.size(), 2u);
}

TEST_F(MessageTest, TextMessagesCannotBePosted) {
    EXPECT_FALSE(plat::PostMessage(window_, plat::kWmSetText, 0, 0));
    EXPECT_FALSE(plat::PostMessage(window_, plat::kWmGetText, 0, 0));
}

TEST_F(MessageTest, SendRunsTheProcedureOnTheOwnersThread) {
    EXPECT_EQ(plat::SendMessage(window_, kPing, 41, 0), 42);
    EXPECT_EQ(plat::SendMessage(window_, kAnswerThread, 0, 0), 0);

    WindowThread other("MessageTestClass");
    EXPECT_EQ(plat::SendMessage(other.Window(), kAnswerThread, 0, 0), 1);
    EXPECT_EQ(plat::SendMessage(other.Window(), kPing, 9, 0), 10);
    // The other thread sends back to this one while this one waits for its answer.
    EXPECT_EQ(plat::SendMessage(other.Window(), kSendTo, 5, window_), 6);
}

TEST_F(MessageTest, TwoThreadsSendingToEachOtherAtOnceBothGetThrough) {
    WindowThread first("MessageTestClass");
    WindowThread second("MessageTestClass");
    constexpr int kRounds = 300;
    auto sendMany = [](plat::WindowHandle from, plat::WindowHandle to) {
        int right = 0;
        for (int i = 0; i < kRounds; ++i) {
            // Each round makes `from`'s thread send to `to`'s thread, which is doing the same.
            right += plat::SendMessage(from, kSendTo, i, to) == i + 1;
        }
        return right;
    };
    int rightOne = 0;
    int rightTwo = 0;
    std::thread one([&] { rightOne = sendMany(first.Window(), second.Window()); });
    std::thread two([&] { rightTwo = sendMany(second.Window(), first.Window()); });
    one.join();
    two.join();
    EXPECT_EQ(rightOne, kRounds);
    EXPECT_EQ(rightTwo, kRounds);
}

TEST_F(MessageTest, SentMessagesAreServedBeforePostedOnes) {
    plat::PostMessage(window_, kRecord, 1, 0);
    std::atomic<plat::LResult> answer{-1};
    std::thread sender([&] { answer = plat::SendMessage(window_, kRecord, 2, 0); });
    plat::Message message;
    // Peeking without removing serves the sent message while the posted one stays first in line.
    const auto deadline = std::chrono::steady_clock::now() + testsupport::kLoadedMachineWait;
    while (recorded.empty() && std::chrono::steady_clock::now() < deadline) {
        ASSERT_TRUE(plat::PeekMessage(message, false));
        EXPECT_EQ(message.wParam, 1u);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    sender.join();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(recorded.front().wParam, 2u);
    ASSERT_TRUE(plat::PeekMessage(message, true));
    EXPECT_EQ(message.wParam, 1u);
}

TEST_F(MessageTest, SendAnswersZeroWhenTheOwnerThreadEndsUnserved) {
    std::promise<plat::WindowHandle> made;
    std::thread owner([&] {
        made.set_value(plat::CreateWindow("MessageTestClass", "leaves"));
        // Waits until a message is there, then ends without serving it.
        pollfd item{plat::QueueFd(), POLLIN, 0};
        poll(&item, 1, 5000);
    });
    const plat::WindowHandle window = made.get_future().get();
    EXPECT_EQ(plat::SendMessage(window, kPing, 1, 0), 0);
    owner.join();
    EXPECT_FALSE(plat::IsWindow(window));
    EXPECT_EQ(plat::SendMessage(window, kPing, 1, 0), 0);
}

TEST_F(MessageTest, QueueFdIsReadableWhileWorkWaits) {
    const int fd = plat::QueueFd();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(plat::QueueFd(), fd);
    EXPECT_FALSE(Readable(fd));
    plat::PostMessage(window_, kRecord, 1, 0);
    EXPECT_TRUE(Readable(fd));
    plat::Message message;
    ASSERT_TRUE(plat::PeekMessage(message, true));
    EXPECT_FALSE(Readable(fd));

    // Half a second: time enough, even for a loaded machine, to see that a timer not yet due is no work.
    const auto timer = plat::SetTimer(window_, 1, 500, nullptr);
    EXPECT_FALSE(Readable(fd));
    pollfd item{fd, POLLIN, 0};
    EXPECT_EQ(poll(&item, 1, 60000), 1) << "a due timer is work";
    ASSERT_TRUE(plat::PeekMessage(message, true));
    EXPECT_EQ(message.message, plat::kWmTimer);
    EXPECT_FALSE(Readable(fd));
    plat::KillTimer(window_, timer);
}

TEST_F(MessageTest, PumpWaitsForAFirstMessageAndCallsTheIdleHook) {
    int idleRounds = 0;
    plat::SetIdleHook([&] {
        ++idleRounds;
        plat::PumpWaiting(0);  // a host loop that pumps again does not call the hook inside itself
    });
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        plat::PostMessage(window_, kRecord, 1, 0);
    });
    EXPECT_TRUE(plat::PumpWaiting(5000));
    poster.join();
    EXPECT_EQ(recorded.size(), 1u);
    EXPECT_EQ(idleRounds, 1);
    plat::SetIdleHook(nullptr);
}

}  // namespace
