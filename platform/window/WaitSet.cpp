#include "platform/window/WaitSet.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace plat {

namespace {

// Without an epoll set (out of descriptors) the owner looks at its queue this often instead.
constexpr int kFallbackPollMs = 10;

}  // namespace

WaitSet::~WaitSet() {
    for (const int fd : {epoll_, wake_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

int WaitSet::Fd() {
    if (epoll_ >= 0) {
        return epoll_;
    }
    const int epoll = epoll_create1(EPOLL_CLOEXEC);
    const int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    // Edge-triggered: each bump is reported once, so the counter is never read back (a system call
    // less per wake).
    epoll_event event{};
    event.events = EPOLLIN | EPOLLET;
    event.data.u64 = kWakeKey;
    if (epoll < 0 || wake < 0 || epoll_ctl(epoll, EPOLL_CTL_ADD, wake, &event) != 0) {
        for (const int fd : {epoll, wake}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        return -1;
    }
    epoll_ = epoll;
    wake_ = wake;
    return epoll_;
}

bool WaitSet::Watch(int fd, std::uint32_t events, std::uint64_t key, bool add) {
    if (Fd() < 0) {
        return false;
    }
    epoll_event event{};
    event.events = events | EPOLLONESHOT;
    event.data.u64 = key;
    return epoll_ctl(epoll_, add ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, fd, &event) == 0;
}

void WaitSet::Unwatch(int fd) {
    if (epoll_ >= 0) {
        epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
    }
}

void WaitSet::Wake() {
    const std::uint64_t one = 1;
    if (wake_ >= 0) {
        (void)!write(wake_, &one, sizeof one);
    }
}

int WaitSet::Wait(int timeoutMs, epoll_event* reports, int capacity) {
    if (epoll_ < 0) {
        const int pause = timeoutMs < 0 ? kFallbackPollMs : std::min(timeoutMs, kFallbackPollMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        return 0;
    }
    const int count = epoll_wait(epoll_, reports, capacity, timeoutMs);
    // The wake needs no handling of its own: the caller looks at its queue after every wait.
    const auto end = std::remove_if(reports, reports + std::max(count, 0),
                                    [](const epoll_event& report) { return report.data.u64 == kWakeKey; });
    return static_cast<int>(end - reports);
}

}  // namespace plat
