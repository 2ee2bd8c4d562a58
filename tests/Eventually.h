#pragma once

// A test's wait for what another thread or process does: the condition is looked at until it holds,
// and the bound is one that no healthy run comes near, however loaded the machine.
#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

inline constexpr std::chrono::milliseconds kLoadedMachineWait = std::chrono::seconds(60);

// Looks at `done` every `step` until it holds (true) or `limit` has passed (false). `done` is called
// once per look, so it may act as well as look.
inline bool Eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = kLoadedMachineWait,
                       std::chrono::milliseconds step = std::chrono::milliseconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(step);
    }
    return true;
}

}  // namespace testsupport
