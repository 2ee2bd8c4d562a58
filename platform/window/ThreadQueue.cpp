#include "platform/window/ThreadQueue.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>

namespace plat {

ThreadQueue::~ThreadQueue() {
    for (const int fd : {pollFd_, workFd_, timerFd_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool ThreadQueue::Post(const Message& message) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return false;
    }
    posted_.push_back(message);
    SyncPollFd();
    changed_.notify_all();
    return true;
}

bool ThreadQueue::Deliver(SentMessage message) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return false;  // answered 0 when `message` goes, after the lock
    }
    sent_.push_back(std::move(message));
    SyncPollFd();
    changed_.notify_all();
    return true;
}

void ThreadQueue::WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point until) {
    if (auto next = timers_.NextDue()) {
        until = std::min(until, *next);
    }
    if (until == Clock::time_point::max()) {
        changed_.wait(lock);
    } else {
        changed_.wait_until(lock, until);
    }
}

ThreadQueue::Work ThreadQueue::Take(bool remove, Clock::time_point until) {
    std::unique_lock lock(mutex_);
    for (;;) {
        Work work;
        if (!sent_.empty()) {
            work.sent.emplace(std::move(sent_.front()));
            sent_.pop_front();
        } else if (!posted_.empty()) {
            work.posted = posted_.front();
            if (remove) {
                posted_.pop_front();
            }
        } else {
            const auto now = Clock::now();
            work.posted = timers_.Due(now, remove);
            if (!work.posted && now < until) {
                WaitUntil(lock, until);
                continue;
            }
        }
        SyncPollFd();
        return work;
    }
}

std::optional<SentMessage> ThreadQueue::TakeSent(Clock::time_point until, const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!sent_.empty()) {
            std::optional<SentMessage> sent(std::move(sent_.front()));
            sent_.pop_front();
            SyncPollFd();
            return sent;
        }
        if (done() || Clock::now() >= until) {
            return std::nullopt;
        }
        changed_.wait_until(lock, until);
    }
}

void ThreadQueue::Signal(const std::function<void()>& change) {
    std::lock_guard lock(mutex_);
    change();
    changed_.notify_all();
}

std::uintptr_t ThreadQueue::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs,
                                     TimerProc procedure) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return 0;
    }
    const auto result = timers_.Set(window, id, elapseMs, procedure);
    SyncPollFd();
    changed_.notify_all();
    return result;
}

bool ThreadQueue::KillTimer(WindowHandle window, std::uintptr_t id) {
    std::lock_guard lock(mutex_);
    const bool killed = timers_.Kill(window, id);
    SyncPollFd();
    return killed;
}

bool ThreadQueue::HasTimer(WindowHandle window, std::uintptr_t id, TimerProc procedure) const {
    std::lock_guard lock(mutex_);
    return timers_.Has(window, id, procedure);
}

void ThreadQueue::Forget(WindowHandle window) {
    std::deque<SentMessage> dropped;  // answered 0 after the lock is released
    std::lock_guard lock(mutex_);
    std::erase_if(posted_, [&](const Message& message) { return message.window == window; });
    timers_.KillAllOf(window);
    for (auto it = sent_.begin(); it != sent_.end();) {
        if (it->Content().window == window) {
            dropped.push_back(std::move(*it));
            it = sent_.erase(it);
        } else {
            ++it;
        }
    }
    SyncPollFd();
}

void ThreadQueue::Purge(const std::function<bool(const Message&)>& match) {
    std::lock_guard lock(mutex_);
    std::erase_if(posted_, match);
    SyncPollFd();
}

void ThreadQueue::Retire() {
    std::deque<SentMessage> dropped;
    std::lock_guard lock(mutex_);
    alive_ = false;
    dropped.swap(sent_);
    posted_.clear();
    timers_ = TimerList();
    SyncPollFd();
}

bool ThreadQueue::Alive() const {
    std::lock_guard lock(mutex_);
    return alive_;
}

int ThreadQueue::PollFd() {
    std::lock_guard lock(mutex_);
    if (pollFd_ < 0) {
        workFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        pollFd_ = epoll_create1(EPOLL_CLOEXEC);
        for (const int fd : {workFd_, timerFd_}) {
            epoll_event event{};
            event.events = EPOLLIN;
            event.data.fd = fd;
            epoll_ctl(pollFd_, EPOLL_CTL_ADD, fd, &event);
        }
        SyncPollFd();
    }
    return pollFd_;
}

// Keeps the pollable descriptor true to the queue: the event counter is 1 exactly while a message
// waits, and the timer descriptor fires at the next timer's due time.
void ThreadQueue::SyncPollFd() {
    if (pollFd_ < 0) {
        return;
    }
    const bool work = !sent_.empty() || !posted_.empty();
    std::uint64_t count = 1;
    if (work && !workSignalled_) {
        workSignalled_ = write(workFd_, &count, sizeof count) == sizeof count;
    } else if (!work && workSignalled_) {
        workSignalled_ = read(workFd_, &count, sizeof count) != sizeof count;
    }
    itimerspec when{};
    if (const auto next = timers_.NextDue()) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(next->time_since_epoch()).count();
        // An absolute time of 0 would disarm the timer; a due time that early is simply due now.
        when.it_value.tv_sec = ns / 1000000000;
        when.it_value.tv_nsec = std::max<long long>(ns % 1000000000, ns > 0 ? 0 : 1);
    }
    timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &when, nullptr);
}

}  // namespace plat
