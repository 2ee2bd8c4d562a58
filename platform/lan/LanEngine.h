#pragma once

#include <sys/poll.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

// The segment's service thread of this process: it reads the frames that arrive for the endpoints of
// this process, and runs the timers of the connections (resends, polls, time-outs).
namespace plat {

// Held while any callback of the engine runs; every object of the segment is used under it, so a
// callback never runs for an object that has been taken off the engine. Recursive, so that code
// called back may use the segment's objects again.
std::recursive_mutex& LanLock();

class LanEngine {
  public:
    using Id = std::uint64_t;

    static LanEngine& Get();

    // onReady(revents) runs on the engine thread while fd is ready for events (level-triggered).
    Id Watch(int fd, short events, std::function<void(short)> onReady);
    void SetEvents(Id watch, short events);
    void Unwatch(Id watch);

    // action runs once on the engine thread after the delay, unless cancelled first.
    Id After(std::uint32_t milliseconds, std::function<void()> action);
    void Cancel(Id timer);

  private:
    using Clock = std::chrono::steady_clock;
    struct WatchEntry {
        int fd;
        short events;
        std::function<void(short)> onReady;
    };
    struct Timer {
        Clock::time_point deadline;
        std::function<void()> action;
    };

    LanEngine();
    void Run();
    void Wake();
    int MillisecondsToNextTimer();
    void DispatchReady(const std::vector<pollfd>& fds, const std::vector<Id>& ids);
    void RunDueTimers();

    int wakeFd_;
    Id nextId_ = 1;
    std::map<Id, WatchEntry> watches_;
    std::map<Id, Timer> timers_;
};

}  // namespace plat
