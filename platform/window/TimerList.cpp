#include "platform/window/TimerList.h"

#include <algorithm>
#include <atomic>

namespace plat {

namespace {

// Thread timer ids are unique in the process, so that a stray KillTimer never hits another thread's.
std::uintptr_t NewThreadTimerId() {
    static std::atomic<std::uintptr_t> next{1};
    return next++;
}

// As short a period as a busy loop would make is not useful; the shortest is 10 ms.
constexpr std::uint32_t kShortestPeriodMs = 10;

}  // namespace

std::vector<TimerList::Timer>::iterator TimerList::Find(WindowHandle window, std::uintptr_t id) {
    return std::find_if(timers_.begin(), timers_.end(),
                        [&](const Timer& timer) { return timer.window == window && timer.id == id; });
}

std::uintptr_t TimerList::Set(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs,
                              TimerProc procedure) {
    if (window != 0 && id == 0) {
        return 0;
    }
    auto existing = Find(window, id);
    if (window == 0 && (id == 0 || existing == timers_.end())) {
        id = NewThreadTimerId();
        existing = timers_.end();
    }
    const Clock::duration period = std::chrono::milliseconds(std::max(elapseMs, kShortestPeriodMs));
    const Timer timer{window, id, period, procedure, Clock::now() + period};
    if (existing != timers_.end()) {
        *existing = timer;
    } else {
        timers_.push_back(timer);
    }
    return id;
}

bool TimerList::Kill(WindowHandle window, std::uintptr_t id) {
    const auto timer = Find(window, id);
    if (timer == timers_.end()) {
        return false;
    }
    timers_.erase(timer);
    return true;
}

void TimerList::KillAllOf(WindowHandle window) {
    std::erase_if(timers_, [&](const Timer& timer) { return timer.window == window; });
}

bool TimerList::Has(WindowHandle window, std::uintptr_t id, TimerProc procedure) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id && timer.procedure == procedure;
    });
}

std::optional<Message> TimerList::Due(Clock::time_point now, bool take) {
    const auto first = std::min_element(timers_.begin(), timers_.end(),
                                        [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (first == timers_.end() || first->due > now) {
        return std::nullopt;
    }
    if (take) {
        first->due = now + first->period;
    }
    return Message{first->window, kWmTimer, first->id, reinterpret_cast<LParam>(first->procedure)};
}

std::optional<TimerList::Clock::time_point> TimerList::NextDue() const {
    const auto first = std::min_element(timers_.begin(), timers_.end(),
                                        [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (first == timers_.end()) {
        return std::nullopt;
    }
    return first->due;
}

}  // namespace plat
