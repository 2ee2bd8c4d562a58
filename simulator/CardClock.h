#pragma once

#include <chrono>
#include <cstdint>

namespace sim {

// Time since the card came up: its sysUpTime and the pace of its traffic counters.
class CardClock {
  public:
    CardClock() : start_(std::chrono::steady_clock::now()) {}

    uint32_t Ticks() const { return static_cast<uint32_t>(Elapsed().count() / 10); }
    uint64_t Seconds() const { return static_cast<uint64_t>(Elapsed().count() / 1000); }

  private:
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     start_);
    }

    std::chrono::steady_clock::time_point start_;
};

}  // namespace sim
