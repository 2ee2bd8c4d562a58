#include "simulator/StatusCycler.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

constexpr std::array<int32_t, 6> kCycle = {3, 0, 68, 0, 1025, 0};

}  // namespace

StatusCycler::StatusCycler(std::vector<Changing> cards, SetStatus setStatus)
    : cards_(std::move(cards)), setStatus_(std::move(setStatus)) {
    if (!cards_.empty()) {
        thread_ = std::thread([this] { Run(); });
    }
}

StatusCycler::~StatusCycler() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void StatusCycler::Run() {
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> due;
    std::vector<size_t> step(cards_.size(), 0);
    for (const Changing& card : cards_) {
        due.push_back(Clock::now() + card.period);
    }
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const auto next = std::min_element(due.begin(), due.end());
        if (stop_.wait_until(lock, *next, [this] { return stopping_; })) {
            return;
        }
        const size_t i = static_cast<size_t>(next - due.begin());
        setStatus_(cards_[i].card, kCycle[step[i]++ % kCycle.size()]);
        due[i] += cards_[i].period;
    }
}

}  // namespace sim
