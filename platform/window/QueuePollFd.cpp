#include "platform/window/QueuePollFd.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace plat {

QueuePollFd::~QueuePollFd() {
    for (const int fd : {epoll_, work_, timer_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

int QueuePollFd::Open(int waitSetFd) {
    if (epoll_ >= 0) {
        return epoll_;
    }
    const int epoll = epoll_create1(EPOLL_CLOEXEC);
    const int work = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    bool made = epoll >= 0 && work >= 0 && timer >= 0 && waitSetFd >= 0;
    for (const int fd : {work, timer, waitSetFd}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        made = made && epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
    }
    if (!made) {
        for (const int fd : {epoll, work, timer}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        return -1;
    }
    epoll_ = epoll;
    work_ = work;
    timer_ = timer;
    return epoll_;
}

// The event counter is 1 exactly while a message waits; the timer descriptor fires at the due time.
void QueuePollFd::Show(bool messageWaits, std::optional<Clock::time_point> due) {
    std::uint64_t count = 1;
    if (messageWaits && !workShown_) {
        workShown_ = write(work_, &count, sizeof count) == sizeof count;
    } else if (!messageWaits && workShown_) {
        workShown_ = read(work_, &count, sizeof count) != sizeof count;
    }
    if (due == dueShown_) {
        return;
    }
    itimerspec when{};
    if (due) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(due->time_since_epoch()).count();
        // An absolute time of 0 would disarm the timer; a due time that early is simply due now.
        when.it_value.tv_sec = ns / 1000000000;
        when.it_value.tv_nsec = std::max<long long>(ns % 1000000000, ns > 0 ? 0 : 1);
    }
    if (timerfd_settime(timer_, TFD_TIMER_ABSTIME, &when, nullptr) == 0) {
        dueShown_ = due;
    }
}

}  // namespace plat
