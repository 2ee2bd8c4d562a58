#include "platform/window/SocketSelection.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "platform/window/SocketErrorNumber.h"

namespace plat {

namespace {

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

// What a stream descriptor is ready for now: a report may be older than a connect made since.
std::uint32_t ReadyNow(int fd, std::uint32_t reported) {
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

}  // namespace

SocketSelection::SocketSelection(int fd, const SocketTarget& target, bool stream)
    : target_(target),
      stream_(stream),
      // Connected already: whatever ends the connection is its close, even before any other event.
      established_(stream && Connected(fd)) {}

std::uint32_t SocketSelection::Interest() const {
    if (finished_) {
        return 0;
    }
    const long events = target_.events;
    const bool in = ((events & kFdRead) && readArmed_) || ((events & kFdAccept) && acceptArmed_);
    const bool out =
        ((events & kFdConnect) && stream_ && !connectDone_) || ((events & kFdWrite) && !writeDone_);
    const bool hangUp = (events & kFdClose) && stream_ && !closeDone_;
    std::uint32_t interest = 0;
    interest |= in ? std::uint32_t{EPOLLIN} : 0;
    interest |= out ? std::uint32_t{EPOLLOUT} : 0;
    interest |= hangUp ? std::uint32_t{EPOLLRDHUP} : 0;
    return interest;
}

void SocketSelection::Rearm() {
    readArmed_ = true;
    acceptArmed_ = true;
}

SocketSelection::Next SocketSelection::Handle(int fd, std::uint32_t reported, std::deque<Message>& queue) {
    const std::size_t queued = queue.size();
    // A datagram socket's report is its state now; no connect can have changed it since.
    const std::uint32_t ready = stream_ ? ReadyNow(fd, reported) : reported;
    if (stream_) {
        HandleStream(fd, ready, queue);
    } else {
        HandleDatagram(ready, queue);
    }
    const bool told = queue.size() != queued;
    return !told && (ready & (EPOLLHUP | EPOLLERR)) && Interest() != 0 ? Next::kPark : Next::kArm;
}

void SocketSelection::Notify(long event, int error, std::deque<Message>& queue) {
    const LParam lParam = event | static_cast<LParam>(SocketErrorNumber(error)) << 16;
    queue.push_back({target_.window, target_.message, target_.socketId, lParam});
}

void SocketSelection::HandleDatagram(std::uint32_t ready, std::deque<Message>& queue) {
    const long events = target_.events;
    // A pending error (an unreachable port answered by ICMP) is for the next receive to report.
    if ((ready & (EPOLLIN | EPOLLERR)) && (events & kFdRead) && readArmed_) {
        readArmed_ = false;
        Notify(kFdRead, 0, queue);
    }
    if ((ready & EPOLLOUT) && (events & kFdWrite) && !writeDone_) {
        writeDone_ = true;
        Notify(kFdWrite, 0, queue);
    }
}

void SocketSelection::HandleStream(int fd, std::uint32_t ready, std::deque<Message>& queue) {
    const long events = target_.events;
    if (SocketOption(fd, SO_ACCEPTCONN) != 0) {
        if ((ready & EPOLLIN) && (events & kFdAccept) && acceptArmed_) {
            acceptArmed_ = false;
            Notify(kFdAccept, 0, queue);
        }
        return;
    }
    // Reading the error clears it; it is read only when one is reported.
    const int error = (ready & EPOLLERR) ? SocketOption(fd, SO_ERROR) : 0;
    const bool connected = Connected(fd);
    if ((events & kFdConnect) && !connectDone_ && (connected || error != 0)) {
        connectDone_ = true;
        Notify(kFdConnect, error, queue);
    }
    if (!established_ && !connected) {
        finished_ = error != 0;  // a failed connect ends it; a socket not yet connected waits
        return;
    }
    established_ = true;
    if ((ready & EPOLLIN) && (events & kFdRead) && readArmed_) {
        char byte;
        const ssize_t waiting = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (waiting > 0) {
            readArmed_ = false;
            Notify(kFdRead, 0, queue);
        } else if (waiting == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            readArmed_ = false;  // the end of the stream: the close notice tells it
        }
    }
    if ((ready & EPOLLOUT) && connected && (events & kFdWrite) && !writeDone_) {
        writeDone_ = true;
        Notify(kFdWrite, 0, queue);
    }
    const bool ended = (ready & (EPOLLRDHUP | EPOLLHUP)) || error != 0 || !connected;
    if (ended && (events & kFdClose) && !closeDone_) {
        closeDone_ = true;
        Notify(kFdClose, error, queue);
    }
    finished_ = !connected;
}

}  // namespace plat
