#include "platform/window/SocketWatcher.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#include "platform/window/SocketErrorNumber.h"

namespace plat {

namespace {

// A socket that reports a hang-up with nothing to tell (a stream socket not yet connected or
// listening) is looked at again after this pause instead of in a busy loop.
constexpr auto kParkPause = std::chrono::milliseconds(20);

std::uint64_t EventKey(int fd, std::uint32_t generation) {
    return std::uint64_t{generation} << 32 | static_cast<std::uint32_t>(fd);
}

int SocketOption(int fd, int option) {
    int value = 0;
    socklen_t length = sizeof value;
    return getsockopt(fd, SOL_SOCKET, option, &value, &length) == 0 ? value : 0;
}

bool Connected(int fd) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    return getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0;
}

}  // namespace

SocketWatcher& SocketWatcher::Instance() {
    // Never destroyed: its thread runs until the process ends.
    static SocketWatcher* watcher = new SocketWatcher;
    return *watcher;
}

bool SocketWatcher::StartLocked() {
    if (epoll_ < 0) {
        epoll_ = epoll_create1(EPOLL_CLOEXEC);
        if (epoll_ < 0) {
            return false;
        }
        std::thread([this] { Run(); }).detach();
    }
    return true;
}

bool SocketWatcher::Select(int fd, const Selection& selection) {
    int type = 0;
    socklen_t length = sizeof type;
    if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!StartLocked()) {
        return false;
    }
    epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);  // the descriptor may be a reused number
    std::erase_if(parked_, [&](const Parked& parked) { return parked.fd == fd; });
    Watch& watch = watches_[fd] = Watch{};
    watch.selection = selection;
    watch.generation = nextGeneration_++;
    watch.stream = type == SOCK_STREAM;
    // Connected already: whatever ends the connection is its close, even before any other event.
    watch.established = watch.stream && Connected(fd);
    Arm(fd, watch);
    return true;
}

void SocketWatcher::Rearm(int fd) {
    std::lock_guard lock(mutex_);
    const auto found = watches_.find(fd);
    if (found == watches_.end()) {
        return;
    }
    Watch& watch = found->second;
    watch.readArmed = true;
    watch.acceptArmed = true;
    const bool parked =
        std::any_of(parked_.begin(), parked_.end(), [&](const Parked& p) { return p.fd == fd; });
    if (!parked) {
        Arm(fd, watch);
    }
}

std::optional<SocketWatcher::Selection> SocketWatcher::Cancel(int fd) {
    std::lock_guard lock(mutex_);
    const auto found = watches_.find(fd);
    if (found == watches_.end()) {
        return std::nullopt;
    }
    Disarm(fd, found->second);
    const Selection selection = found->second.selection;
    watches_.erase(found);
    std::erase_if(parked_, [&](const Parked& parked) { return parked.fd == fd; });
    return selection;
}

std::uint32_t SocketWatcher::Interest(const Watch& watch) {
    if (watch.finished) {
        return 0;
    }
    const long events = watch.selection.events;
    const bool in = ((events & kFdRead) && watch.readArmed) || ((events & kFdAccept) && watch.acceptArmed);
    const bool out = ((events & kFdConnect) && watch.stream && !watch.connectDone) ||
                     ((events & kFdWrite) && !watch.writeDone);
    const bool hangUp = (events & kFdClose) && watch.stream && !watch.closeDone;
    std::uint32_t interest = 0;
    interest |= in ? std::uint32_t{EPOLLIN} : 0;
    interest |= out ? std::uint32_t{EPOLLOUT} : 0;
    interest |= hangUp ? std::uint32_t{EPOLLRDHUP} : 0;
    return interest;
}

// One-shot: after each report the descriptor is quiet until armed again, so that a condition that
// stays (a datagram not yet received) is reported once.
void SocketWatcher::Arm(int fd, Watch& watch) {
    const std::uint32_t interest = Interest(watch);
    if (interest == 0) {
        Disarm(fd, watch);
        return;
    }
    epoll_event event{};
    event.events = interest | EPOLLONESHOT;
    event.data.u64 = EventKey(fd, watch.generation);
    if (epoll_ctl(epoll_, watch.inEpoll ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd, &event) == 0) {
        watch.inEpoll = true;
    }
}

void SocketWatcher::Disarm(int fd, Watch& watch) {
    if (watch.inEpoll) {
        epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
        watch.inEpoll = false;
    }
}

int SocketWatcher::NextTimeoutLocked() const {
    if (parked_.empty()) {
        return -1;
    }
    const auto first = std::min_element(parked_.begin(), parked_.end(),
                                        [](const Parked& a, const Parked& b) { return a.until < b.until; });
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(first->until - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(wait.count(), 0));
}

void SocketWatcher::UnparkDueLocked() {
    const auto now = Clock::now();
    std::vector<Parked> due;
    std::erase_if(parked_, [&](const Parked& parked) {
        if (parked.until > now) {
            return false;
        }
        due.push_back(parked);
        return true;
    });
    for (const Parked& parked : due) {
        const auto found = watches_.find(parked.fd);
        if (found != watches_.end() && found->second.generation == parked.generation) {
            Arm(parked.fd, found->second);
        }
    }
}

void SocketWatcher::Run() {
    epoll_event ready[16];
    for (;;) {
        int timeout;
        {
            std::lock_guard lock(mutex_);
            timeout = NextTimeoutLocked();
        }
        const int count = epoll_wait(epoll_, ready, 16, timeout);
        std::lock_guard lock(mutex_);
        for (int i = 0; i < count; ++i) {
            const int fd = static_cast<int>(ready[i].data.u64 & 0xFFFFFFFF);
            const auto found = watches_.find(fd);
            if (found != watches_.end() && EventKey(fd, found->second.generation) == ready[i].data.u64) {
                Handle(fd, found->second, ready[i].events);
            }
        }
        UnparkDueLocked();
    }
}

// What the descriptor is ready for now: a report may be older than a connect made since.
std::uint32_t SocketWatcher::ReadyNow(int fd, std::uint32_t reported) {
    pollfd item{fd, POLLIN | POLLOUT | POLLRDHUP, 0};
    if (poll(&item, 1, 0) < 0) {
        return reported;
    }
    std::uint32_t ready = 0;
    for (const auto& [pollBit, epollBit] : {std::pair<short, std::uint32_t>{POLLIN, EPOLLIN},
                                            {POLLOUT, EPOLLOUT},
                                            {POLLRDHUP, EPOLLRDHUP},
                                            {POLLHUP, EPOLLHUP},
                                            {POLLERR, EPOLLERR}}) {
        ready |= (item.revents & pollBit) ? epollBit : 0;
    }
    return ready;
}

void SocketWatcher::Handle(int fd, Watch& watch, std::uint32_t reported) {
    const std::uint32_t ready = ReadyNow(fd, reported);
    bool posted = false;
    if (watch.stream) {
        HandleStream(fd, watch, ready, posted);
    } else {
        HandleDatagram(watch, ready, posted);
    }
    if (!posted && (ready & (EPOLLHUP | EPOLLERR)) && Interest(watch) != 0) {
        parked_.push_back({fd, watch.generation, Clock::now() + kParkPause});
    } else {
        Arm(fd, watch);
    }
}

void SocketWatcher::Notify(const Watch& watch, long event, int error, bool& posted) {
    const LParam lParam = event | static_cast<LParam>(SocketErrorNumber(error)) << 16;
    PostMessage(watch.selection.window, watch.selection.message, watch.selection.socketId, lParam);
    posted = true;
}

void SocketWatcher::HandleDatagram(Watch& watch, std::uint32_t ready, bool& posted) {
    const long events = watch.selection.events;
    // A pending error (an unreachable port answered by ICMP) is for the next receive to report.
    if ((ready & (EPOLLIN | EPOLLERR)) && (events & kFdRead) && watch.readArmed) {
        watch.readArmed = false;
        Notify(watch, kFdRead, 0, posted);
    }
    if ((ready & EPOLLOUT) && (events & kFdWrite) && !watch.writeDone) {
        watch.writeDone = true;
        Notify(watch, kFdWrite, 0, posted);
    }
}

void SocketWatcher::HandleStream(int fd, Watch& watch, std::uint32_t ready, bool& posted) {
    const long events = watch.selection.events;
    if (SocketOption(fd, SO_ACCEPTCONN) != 0) {
        if ((ready & EPOLLIN) && (events & kFdAccept) && watch.acceptArmed) {
            watch.acceptArmed = false;
            Notify(watch, kFdAccept, 0, posted);
        }
        return;
    }
    // Reading the error clears it; it is read only when one is reported.
    const int error = (ready & EPOLLERR) ? SocketOption(fd, SO_ERROR) : 0;
    const bool connected = Connected(fd);
    if ((events & kFdConnect) && !watch.connectDone && (connected || error != 0)) {
        watch.connectDone = true;
        Notify(watch, kFdConnect, error, posted);
    }
    if (!watch.established && !connected) {
        watch.finished = error != 0;  // a failed connect ends it; a socket not yet connected waits
        return;
    }
    watch.established = true;
    if ((ready & EPOLLIN) && (events & kFdRead) && watch.readArmed) {
        char byte;
        const ssize_t waiting = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (waiting > 0) {
            watch.readArmed = false;
            Notify(watch, kFdRead, 0, posted);
        } else if (waiting == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            watch.readArmed = false;  // the end of the stream: the close notice tells it
        }
    }
    if ((ready & EPOLLOUT) && connected && (events & kFdWrite) && !watch.writeDone) {
        watch.writeDone = true;
        Notify(watch, kFdWrite, 0, posted);
    }
    const bool ended = (ready & (EPOLLRDHUP | EPOLLHUP)) || error != 0 || !connected;
    if (ended && (events & kFdClose) && !watch.closeDone) {
        watch.closeDone = true;
        Notify(watch, kFdClose, error, posted);
    }
    watch.finished = !connected;
}

}  // namespace plat
