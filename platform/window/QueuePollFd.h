#pragma once

#include <chrono>
#include <optional>

namespace plat {

// The descriptor that QueueFd hands out, for an event loop of the host's own: an epoll set that is
// readable while a message waits (an event counter), while something is due (a timer descriptor set
// to the queue's next due time) and while a selected socket has something to report (the owner's
// wait set, nested). Made when first asked for; not locked itself (the queue's lock guards it).
class QueuePollFd {
  public:
    using Clock = std::chrono::steady_clock;

    QueuePollFd() = default;
    QueuePollFd(const QueuePollFd&) = delete;
    QueuePollFd& operator=(const QueuePollFd&) = delete;
    ~QueuePollFd();

    // Makes it over the wait set's descriptor; -1 when it cannot be made.
    int Open(int waitSetFd);
    bool IsOpen() const { return epoll_ >= 0; }
    // Keeps it true to the queue; only when it is open.
    void Show(bool messageWaits, std::optional<Clock::time_point> due);

  private:
    int epoll_ = -1;
    int work_ = -1;
    int timer_ = -1;
    bool workShown_ = false;
    std::optional<Clock::time_point> dueShown_;
};

}  // namespace plat
