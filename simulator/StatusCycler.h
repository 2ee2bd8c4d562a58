#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

// Changes the printer status of chosen cards now and then, on a thread of its own, so that a
// console watching them receives status traps: printing, ready, cover open, ready, load tray,
// ready, and round again.
class StatusCycler {
  public:
    struct Changing {
        size_t card;
        std::chrono::milliseconds period;
    };
    using SetStatus = std::function<void(size_t card, int32_t status)>;

    StatusCycler(std::vector<Changing> cards, SetStatus setStatus);
    ~StatusCycler();
    StatusCycler(const StatusCycler&) = delete;
    StatusCycler& operator=(const StatusCycler&) = delete;

  private:
    void Run();

    std::vector<Changing> cards_;
    SetStatus setStatus_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace sim
