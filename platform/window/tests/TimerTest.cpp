#include <gtest/gtest.h>

#include <vector>

#include "platform/window/Window.h"
#include "platform/window/tests/PumpUntil.h"

namespace {

using windowtest::PumpUntil;

std::vector<std::uintptr_t> threadTimerCalls;
std::vector<plat::WParam> windowTimerMessages;
bool stopFlag = false;

void CountingTimerProc(plat::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                       std::uint32_t) {
    EXPECT_EQ(window, 0u);
    EXPECT_EQ(message, plat::kWmTimer);
    threadTimerCalls.push_back(timerId);
}

void StopTimerProc(plat::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    stopFlag = true;
}

plat::LResult TimerWindowProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                              plat::LParam lParam) {
    if (message == plat::kWmTimer) {
        windowTimerMessages.push_back(wParam);
        return 0;
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

class TimerTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { plat::RegisterWindowClass("TimerTestClass", TimerWindowProc); }
    void SetUp() override {
        threadTimerCalls.clear();
        windowTimerMessages.clear();
        stopFlag = false;
    }
};

TEST_F(TimerTest, ThreadTimerFiresFromAPumpUntilKilled) {
    const std::uintptr_t id = plat::SetTimer(0, 0, 15, CountingTimerProc);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(PumpUntil([] { return threadTimerCalls.size() >= 3; }));
    EXPECT_EQ(threadTimerCalls, std::vector<std::uintptr_t>(threadTimerCalls.size(), id));

    EXPECT_TRUE(plat::KillTimer(0, id));
    EXPECT_FALSE(plat::KillTimer(0, id));
    const auto fired = threadTimerCalls.size();
    plat::PumpWaiting(60);
    EXPECT_EQ(threadTimerCalls.size(), fired);
}

TEST_F(TimerTest, ThreadTimersGetTheirOwnIdsAndAGivenIdResetsOne) {
    const std::uintptr_t first = plat::SetTimer(0, 0, 1000, CountingTimerProc);
    const std::uintptr_t second = plat::SetTimer(0, 0, 1000, CountingTimerProc);
    EXPECT_NE(first, second);
    EXPECT_EQ(plat::SetTimer(0, first, 10, CountingTimerProc), first);
    ASSERT_TRUE(PumpUntil([] { return !threadTimerCalls.empty(); }));
    EXPECT_EQ(threadTimerCalls.front(), first);
    EXPECT_TRUE(plat::KillTimer(0, first));
    EXPECT_TRUE(plat::KillTimer(0, second));
}

// A caller that waits a fixed time while serving its thread's windows: the timer ends the loop.
TEST_F(TimerTest, WaitLoopEndsWhenItsTimerFires) {
    const std::uintptr_t id = plat::SetTimer(0, 0, 50, StopTimerProc);
    const auto start = plat::TickCount();
    int rounds = 0;
    while (!stopFlag && rounds < 10000) {
        plat::PumpWaiting(5);
        ++rounds;
    }
    EXPECT_TRUE(stopFlag);
    EXPECT_GE(plat::TickCount() - start, 40u);
    plat::KillTimer(0, id);
}

TEST_F(TimerTest, WindowTimerSendsItsIdToTheWindow) {
    const plat::WindowHandle window = plat::CreateWindow("TimerTestClass", "timers");
    EXPECT_EQ(plat::SetTimer(window, 0, 10, nullptr), 0u) << "a window timer needs an id";
    EXPECT_EQ(plat::SetTimer(window, 77, 10, nullptr), 77u);
    ASSERT_TRUE(PumpUntil([] { return windowTimerMessages.size() >= 2; }));
    EXPECT_EQ(windowTimerMessages[0], 77u);
    EXPECT_TRUE(plat::KillTimer(window, 77));
    plat::DestroyWindow(window);
    EXPECT_EQ(plat::SetTimer(window, 77, 10, nullptr), 0u);
}

TEST_F(TimerTest, ForgedTimerMessageCallsNothing) {
    plat::DispatchMessage({0, plat::kWmTimer, 1, reinterpret_cast<plat::LParam>(&CountingTimerProc)});
    EXPECT_TRUE(threadTimerCalls.empty());
}

}  // namespace
