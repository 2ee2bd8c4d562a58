#pragma once

#include <chrono>
#include <functional>

#include "platform/window/Window.h"

namespace windowtest {

// Pumps the calling thread's messages until `done` holds; false when it did not within `limit`. The
// default bound is for a loaded machine: what is awaited may come from another thread or process.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        plat::PumpWaiting(10);
    }
    return true;
}

}  // namespace windowtest
