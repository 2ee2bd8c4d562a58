#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/window/SocketSelection.h"
#include "platform/window/WaitSet.h"

namespace plat {

// The sockets selected for the windows of one thread, watched in that thread's wait set: a socket is
// registered one-shot, so that a condition that stays (a datagram not yet received) is reported
// once, and is armed again when it owes a notice again. Not locked itself (the queue's lock guards it).
class SelectedSockets {
  public:
    using Clock = std::chrono::steady_clock;

    explicit SelectedSockets(WaitSet& waitSet) : waitSet_(waitSet) {}

    // Replaces any earlier selection of the descriptor; false when it cannot be watched.
    bool Select(int fd, const SocketTarget& target, bool stream);
    void Rearm(int fd);
    // Answers the target of the selection it ended.
    std::optional<SocketTarget> Cancel(int fd);
    void CancelAllOf(WindowHandle window);
    void CancelAll();
    bool Empty() const { return watches_.empty(); }

    // A report of the wait set: the notices it calls for go to the end of `queue`.
    void Handle(std::uint64_t key, std::uint32_t reported, std::deque<Message>& queue);
    // Sockets parked after a hang-up with nothing to tell are armed again once their pause is over.
    void UnparkDue(Clock::time_point now);
    std::optional<Clock::time_point> NextUnpark() const;

  private:
    struct Watch {
        SocketSelection selection;
        std::uint32_t generation;  // tells a reused descriptor number from the one selected before
        bool registered = false;
        std::uint32_t armedFor = 0;  // the interest of a registration that has not reported since
        std::optional<Clock::time_point> parkedUntil;
    };

    static std::uint64_t Key(int fd, std::uint32_t generation);
    void Arm(int fd, Watch& watch);
    void Remove(std::map<int, Watch>::iterator watch);

    WaitSet& waitSet_;
    std::uint32_t nextGeneration_ = 1;
    std::map<int, Watch> watches_;
};

}  // namespace plat
