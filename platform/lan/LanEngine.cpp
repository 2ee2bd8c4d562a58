#include "platform/lan/LanEngine.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace plat {

std::recursive_mutex& LanLock() {
    static auto* lock = new std::recursive_mutex;  // outlives every static object that may use it
    return *lock;
}

LanEngine& LanEngine::Get() {
    static auto* engine = new LanEngine;  // its thread runs until the process ends
    return *engine;
}

LanEngine::LanEngine() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    std::thread([this] { Run(); }).detach();
}

LanEngine::Id LanEngine::Watch(int fd, short events, std::function<void(short)> onReady) {
    std::lock_guard guard(LanLock());
    Id id = nextId_++;
    watches_[id] = WatchEntry{fd, events, std::move(onReady)};
    Wake();
    return id;
}

void LanEngine::SetEvents(Id watch, short events) {
    std::lock_guard guard(LanLock());
    auto it = watches_.find(watch);
    if (it != watches_.end() && it->second.events != events) {
        it->second.events = events;
        Wake();
    }
}

void LanEngine::Unwatch(Id watch) {
    std::lock_guard guard(LanLock());
    watches_.erase(watch);
    Wake();
}

LanEngine::Id LanEngine::After(std::uint32_t milliseconds, std::function<void()> action) {
    std::lock_guard guard(LanLock());
    Id id = nextId_++;
    timers_[id] = Timer{Clock::now() + std::chrono::milliseconds(milliseconds), std::move(action)};
    Wake();
    return id;
}

void LanEngine::Cancel(Id timer) {
    std::lock_guard guard(LanLock());
    timers_.erase(timer);
}

void LanEngine::Wake() {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
}

int LanEngine::MillisecondsToNextTimer() {
    if (timers_.empty()) {
        return -1;
    }
    auto next = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
                    return a.second.deadline < b.second.deadline;
                })->second.deadline;
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count() + 1;
    return static_cast<int>(std::clamp<long long>(wait, 0, 60000));
}

void LanEngine::Run() {
    std::vector<pollfd> fds;
    std::vector<Id> ids;
    for (;;) {
        int timeout;
        {
            std::lock_guard guard(LanLock());
            fds.assign(1, pollfd{wakeFd_, POLLIN, 0});
            ids.assign(1, 0);
            for (const auto& [id, entry] : watches_) {
                if (entry.events != 0) {
                    fds.push_back(pollfd{entry.fd, entry.events, 0});
                    ids.push_back(id);
                }
            }
            timeout = MillisecondsToNextTimer();
        }
        poll(fds.data(), fds.size(), timeout);
        std::lock_guard guard(LanLock());
        if (fds[0].revents != 0) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t got = read(wakeFd_, &count, sizeof count);
        }
        DispatchReady(fds, ids);
        RunDueTimers();
    }
}

void LanEngine::DispatchReady(const std::vector<pollfd>& fds, const std::vector<Id>& ids) {
    for (std::size_t i = 1; i < fds.size(); ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        // A callback may have taken this watch (or another) off meanwhile.
        auto it = watches_.find(ids[i]);
        if (it != watches_.end() && it->second.fd == fds[i].fd && it->second.events != 0) {
            auto onReady = it->second.onReady;
            onReady(fds[i].revents);
        }
    }
}

void LanEngine::RunDueTimers() {
    for (;;) {
        auto due = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
            return a.second.deadline < b.second.deadline;
        });
        if (due == timers_.end() || due->second.deadline > Clock::now()) {
            return;
        }
        auto action = std::move(due->second.action);
        timers_.erase(due);
        action();
    }
}

}  // namespace plat
