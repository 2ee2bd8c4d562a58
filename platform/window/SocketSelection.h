#pragma once

#include <cstdint>
#include <deque>

#include "platform/window/Window.h"

namespace plat {

// Where the notices of a selected socket go, and which events were selected.
struct SocketTarget {
    std::uintptr_t socketId = 0;
    WindowHandle window = 0;
    std::uint32_t message = 0;
    long events = 0;
};

// One selected socket: the notices it still owes, and what a readiness report of its descriptor makes
// of them. A read or accept notice is owed again after Rearm (the next receive); connect, write and
// close notices once per selection.
class SocketSelection {
  public:
    SocketSelection(int fd, const SocketTarget& target, bool stream);

    const SocketTarget& Target() const { return target_; }
    // The epoll events worth waiting for; 0 when nothing more is owed.
    std::uint32_t Interest() const;
    void Rearm();

    enum class Next { kArm, kPark };
    // Appends the notices that the report (epoll events) calls for to `queue`. kPark: the descriptor
    // reports a hang-up with nothing to tell (a stream socket not yet connected or listening), so it
    // is to be looked at again after a pause rather than at once.
    Next Handle(int fd, std::uint32_t reported, std::deque<Message>& queue);

  private:
    void HandleStream(int fd, std::uint32_t ready, std::deque<Message>& queue);
    void HandleDatagram(std::uint32_t ready, std::deque<Message>& queue);
    void Notify(long event, int error, std::deque<Message>& queue);

    SocketTarget target_;
    bool stream_ = false;
    bool readArmed_ = true;
    bool acceptArmed_ = true;
    bool established_ = false;
    bool connectDone_ = false;
    bool writeDone_ = false;
    bool closeDone_ = false;
    bool finished_ = false;
};

}  // namespace plat
