#include "platform/window/SelectedSockets.h"

#include <algorithm>

namespace plat {

namespace {

// How long a socket that reports a hang-up with nothing to tell stays parked, instead of a busy loop.
constexpr auto kParkPause = std::chrono::milliseconds(20);

}  // namespace

std::uint64_t SelectedSockets::Key(int fd, std::uint32_t generation) {
    return std::uint64_t{generation} << 32 | static_cast<std::uint32_t>(fd);
}

bool SelectedSockets::Select(int fd, const SocketTarget& target, bool stream) {
    if (const auto earlier = watches_.find(fd); earlier != watches_.end()) {
        Remove(earlier);
    } else {
        waitSet_.Unwatch(fd);  // a number closed without a cancel may still be registered
    }
    const Watch fresh{SocketSelection(fd, target, stream), nextGeneration_++, false, 0, std::nullopt};
    Watch& watch = watches_.insert_or_assign(fd, fresh).first->second;
    Arm(fd, watch);
    if (watch.selection.Interest() != 0 && !watch.registered) {
        watches_.erase(fd);
        return false;
    }
    return true;
}

void SelectedSockets::Rearm(int fd) {
    const auto found = watches_.find(fd);
    if (found == watches_.end()) {
        return;
    }
    found->second.selection.Rearm();
    if (!found->second.parkedUntil) {
        Arm(fd, found->second);
    }
}

std::optional<SocketTarget> SelectedSockets::Cancel(int fd) {
    const auto found = watches_.find(fd);
    if (found == watches_.end()) {
        return std::nullopt;
    }
    const SocketTarget target = found->second.selection.Target();
    Remove(found);
    return target;
}

void SelectedSockets::CancelAllOf(WindowHandle window) {
    for (auto it = watches_.begin(); it != watches_.end();) {
        const auto next = std::next(it);
        if (it->second.selection.Target().window == window) {
            Remove(it);
        }
        it = next;
    }
}

void SelectedSockets::CancelAll() {
    while (!watches_.empty()) {
        Remove(watches_.begin());
    }
}

void SelectedSockets::Remove(std::map<int, Watch>::iterator watch) {
    if (watch->second.registered) {
        waitSet_.Unwatch(watch->first);
    }
    watches_.erase(watch);
}

// One-shot: a registration that reported is quiet until modified, so a socket that owes nothing is
// left as it is, and re-arming one costs a single modify, or nothing while it still waits.
void SelectedSockets::Arm(int fd, Watch& watch) {
    const std::uint32_t interest = watch.selection.Interest();
    if (interest == 0 || interest == watch.armedFor) {
        return;
    }
    const std::uint64_t key = Key(fd, watch.generation);
    const bool armed = waitSet_.Watch(fd, interest, key, !watch.registered) ||
                       (watch.registered && waitSet_.Watch(fd, interest, key, true));  // closed, reopened
    watch.registered = armed;
    watch.armedFor = armed ? interest : 0;
}

void SelectedSockets::Handle(std::uint64_t key, std::uint32_t reported, std::deque<Message>& queue) {
    const int fd = static_cast<int>(key & 0xFFFFFFFF);
    const auto found = watches_.find(fd);
    if (found == watches_.end() || Key(fd, found->second.generation) != key) {
        return;  // cancelled or selected anew since the report
    }
    Watch& watch = found->second;
    watch.armedFor = 0;
    if (watch.selection.Handle(fd, reported, queue) == SocketSelection::Next::kPark) {
        watch.parkedUntil = Clock::now() + kParkPause;
    } else {
        Arm(fd, watch);
    }
}

void SelectedSockets::UnparkDue(Clock::time_point now) {
    for (auto& [fd, watch] : watches_) {
        if (watch.parkedUntil && *watch.parkedUntil <= now) {
            watch.parkedUntil.reset();
            Arm(fd, watch);
        }
    }
}

std::optional<SelectedSockets::Clock::time_point> SelectedSockets::NextUnpark() const {
    std::optional<Clock::time_point> next;
    for (const auto& [fd, watch] : watches_) {
        if (watch.parkedUntil && (!next || *watch.parkedUntil < *next)) {
            next = watch.parkedUntil;
        }
    }
    return next;
}

}  // namespace plat
