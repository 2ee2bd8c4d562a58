#include "platform/window/ThreadQueue.h"

#include <sys/socket.h>

#include <algorithm>
#include <climits>

namespace plat {

namespace {

// Reports taken from the wait set in one wait.
constexpr int kReportsPerWait = 16;

int TimeoutMs(ThreadQueue::Clock::time_point until) {
    if (until == ThreadQueue::Clock::time_point::max()) {
        return -1;
    }
    const auto now = ThreadQueue::Clock::now();
    if (until <= now) {
        return 0;  // also for time_point::min(), which would overflow the subtraction
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - now);
    return static_cast<int>(std::min<std::int64_t>(wait.count(), INT_MAX));
}

}  // namespace

bool ThreadQueue::Post(const Message& message) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return false;
    }
    posted_.push_back(message);
    ChangedLocked();
    return true;
}

bool ThreadQueue::Deliver(SentMessage message) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return false;  // answered 0 when `message` goes, after the lock
    }
    sent_.push_back(std::move(message));
    ChangedLocked();
    return true;
}

// Only another thread changes the queue while its owner waits; the owner itself never needs a wake.
void ThreadQueue::ChangedLocked() {
    if (waiting_ && !woken_) {
        waitSet_.Wake();
        woken_ = true;
    }
    SyncPollFdLocked();
}

std::optional<ThreadQueue::Clock::time_point> ThreadQueue::NextDueLocked() const {
    const auto timer = timers_.NextDue();
    const auto unpark = sockets_.NextUnpark();
    if (timer && unpark) {
        return std::min(*timer, *unpark);
    }
    return timer ? timer : unpark;
}

void ThreadQueue::WaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point until) {
    waitSet_.Fd();  // made under the lock: other threads watch sockets in it
    epoll_event reports[kReportsPerWait];
    waiting_ = true;
    lock.unlock();
    const int count = waitSet_.Wait(TimeoutMs(until), reports, kReportsPerWait);
    lock.lock();
    waiting_ = false;
    woken_ = false;
    for (int i = 0; i < count; ++i) {
        sockets_.Handle(reports[i].data.u64, reports[i].events, posted_);
    }
}

ThreadQueue::Work ThreadQueue::NextLocked(bool remove, Clock::time_point now) {
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
        work.posted = timers_.Due(now, remove);
    }
    return work;
}

ThreadQueue::Work ThreadQueue::Take(bool remove, Clock::time_point until) {
    std::unique_lock lock(mutex_);
    // Selected sockets are asked at least once, even when the caller does not wait.
    for (bool asked = sockets_.Empty();; asked = true) {
        const auto now = Clock::now();
        sockets_.UnparkDue(now);
        Work work = NextLocked(remove, now);
        if (work.sent || work.posted || (asked && now >= until)) {
            SyncPollFdLocked();
            return work;
        }
        const auto due = NextDueLocked();
        WaitLocked(lock, due ? std::min(until, *due) : until);
    }
}

std::optional<SentMessage> ThreadQueue::TakeSent(Clock::time_point until, const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    std::optional<SentMessage> sent;
    while (sent_.empty() && !done() && Clock::now() < until) {
        WaitLocked(lock, until);
    }
    if (!sent_.empty()) {
        sent.emplace(std::move(sent_.front()));
        sent_.pop_front();
    }
    SyncPollFdLocked();
    return sent;
}

void ThreadQueue::Signal(const std::function<void()>& change) {
    std::lock_guard lock(mutex_);
    change();
    ChangedLocked();
}

bool ThreadQueue::SelectSocket(int fd, const SocketTarget& target) {
    int type = 0;
    socklen_t length = sizeof type;
    if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!alive_ || !sockets_.Select(fd, target, type == SOCK_STREAM)) {
        return false;
    }
    SyncPollFdLocked();
    return true;
}

void ThreadQueue::RearmSocket(int fd) {
    std::lock_guard lock(mutex_);
    sockets_.Rearm(fd);
}

// Notices already queued for the socket go too, so that none is taken after the cancel.
void ThreadQueue::CancelSocket(int fd) {
    std::lock_guard lock(mutex_);
    const auto ended = sockets_.Cancel(fd);
    if (!ended) {
        return;
    }
    std::erase_if(posted_, [&](const Message& message) {
        return message.window == ended->window && message.message == ended->message &&
               message.wParam == ended->socketId;
    });
    SyncPollFdLocked();
}

std::uintptr_t ThreadQueue::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs,
                                     TimerProc procedure) {
    std::lock_guard lock(mutex_);
    if (!alive_) {
        return 0;
    }
    const auto result = timers_.Set(window, id, elapseMs, procedure);
    ChangedLocked();
    return result;
}

bool ThreadQueue::KillTimer(WindowHandle window, std::uintptr_t id) {
    std::lock_guard lock(mutex_);
    const bool killed = timers_.Kill(window, id);
    SyncPollFdLocked();
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
    sockets_.CancelAllOf(window);
    for (auto it = sent_.begin(); it != sent_.end();) {
        if (it->Content().window == window) {
            dropped.push_back(std::move(*it));
            it = sent_.erase(it);
        } else {
            ++it;
        }
    }
    SyncPollFdLocked();
}

void ThreadQueue::Retire() {
    std::deque<SentMessage> dropped;
    std::lock_guard lock(mutex_);
    alive_ = false;
    dropped.swap(sent_);
    posted_.clear();
    timers_ = TimerList();
    sockets_.CancelAll();
    SyncPollFdLocked();
}

bool ThreadQueue::Alive() const {
    std::lock_guard lock(mutex_);
    return alive_;
}

int ThreadQueue::PollFd() {
    std::lock_guard lock(mutex_);
    const bool opened = pollFd_.IsOpen();
    const int fd = pollFd_.Open(waitSet_.Fd());
    if (!opened) {
        SyncPollFdLocked();
    }
    return fd;
}

void ThreadQueue::SyncPollFdLocked() {
    if (!pollFd_.IsOpen()) {
        return;  // nobody looks at it
    }
    pollFd_.Show(!sent_.empty() || !posted_.empty(), NextDueLocked());
}

}  // namespace plat
