#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window/Window.h"

namespace plat {

// The timers of one thread: window timers (window, id) and thread timers (window 0, id chosen here).
// A due timer yields one kWmTimer when the thread asks for it; it is due again one period later.
class TimerList {
  public:
    using Clock = std::chrono::steady_clock;

    // Answers the timer's id: the given one for a window timer (0 fails), for a thread timer the given
    // one when it names a thread timer of this list (which is replaced), else a new one.
    std::uintptr_t Set(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs, TimerProc procedure);
    bool Kill(WindowHandle window, std::uintptr_t id);
    void KillAllOf(WindowHandle window);
    bool Has(WindowHandle window, std::uintptr_t id, TimerProc procedure) const;

    // The kWmTimer of the timer that has been due longest; `take` starts its next period.
    std::optional<Message> Due(Clock::time_point now, bool take);
    std::optional<Clock::time_point> NextDue() const;

  private:
    struct Timer {
        WindowHandle window;
        std::uintptr_t id;
        Clock::duration period;
        TimerProc procedure;
        Clock::time_point due;
    };

    std::vector<Timer>::iterator Find(WindowHandle window, std::uintptr_t id);

    std::vector<Timer> timers_;
};

}  // namespace plat
