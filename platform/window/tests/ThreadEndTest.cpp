#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/window/Window.h"

namespace {

void NoTimerProc(plat::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {}

// What the layer answered to a caller that ran after the thread's own end had begun.
struct LateAnswers {
    bool posted = true;
    std::uintptr_t timerSet = 1;
    bool timerKilled = true;
    bool pumped = false;
    bool hookCalled = false;
    plat::WindowHandle created = 1;
};
LateAnswers late;

// A thread-local made before the thread first used the layer ends after the layer's own state of
// that thread, as the destructor of a library's object does at a thread's or the program's end.
struct LateCaller {
    std::uintptr_t timer = 0;
    ~LateCaller() {
        late.posted = plat::PostMessage(0, plat::kWmUser, 0, 0);
        plat::PostQuitMessage(0);
        late.timerKilled = plat::KillTimer(0, timer);
        late.timerSet = plat::SetTimer(0, 0, 10, NoTimerProc);
        late.pumped = plat::PumpWaiting(0);
        late.created = plat::CreateWindow("ThreadEndClass", "too late");
    }
};
thread_local LateCaller lateCaller;

TEST(ThreadEnd, CallsFromLaterDestructorsFindTheThreadRetired) {
    plat::RegisterWindowClass("ThreadEndClass", nullptr);
    std::thread([] {
        lateCaller.timer = 0;  // made first, so it ends last
        lateCaller.timer = plat::SetTimer(0, 0, 10, NoTimerProc);
        // A hook too large to be kept inside the function object: freed memory would show.
        plat::SetIdleHook([padding = std::string(200, 'x')] { late.hookCalled = !padding.empty(); });
        plat::PostMessage(0, plat::kWmUser, 0, 0);
    }).join();
    EXPECT_FALSE(late.posted);
    EXPECT_FALSE(late.timerKilled) << "the thread's timers ended with it";
    EXPECT_EQ(late.timerSet, 0u);
    EXPECT_TRUE(late.pumped);
    EXPECT_FALSE(late.hookCalled) << "the hook ended with the thread";
    EXPECT_EQ(late.created, 0u) << "no thread is left to own it";
    EXPECT_EQ(plat::FindWindow("ThreadEndClass", ""), 0u);
}

}  // namespace
