#include "tests/EventLoop.h"

#include <poll.h>

#include <algorithm>

#include "platform/window/Window.h"

namespace consoletest {

namespace {

// How often `done` is asked while no message comes (it may watch something outside the queue).
constexpr std::uint32_t kLookMs = 20;

void DispatchWaiting() {
    plat::Message message;
    while (plat::PeekMessage(message, true)) {
        plat::DispatchMessage(message);
    }
}

}  // namespace

bool RunEventsUntil(const std::function<bool()>& done, std::uint32_t ms) {
    const std::uint32_t start = plat::TickCount();
    for (;;) {
        DispatchWaiting();
        if (done()) {
            return true;
        }
        const std::uint32_t spent = plat::TickCount() - start;
        if (spent >= ms) {
            return false;
        }
        pollfd queue{plat::QueueFd(), POLLIN, 0};
        poll(&queue, 1, static_cast<int>(std::min(ms - spent, kLookMs)));
    }
}

}  // namespace consoletest
