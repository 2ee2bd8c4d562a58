#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

// Runs the job listener's sessions, at most `bound` at once, on threads that stay for the next
// session once one ends: a long run of quick connections costs no thread each, and a session that
// waits long holds one thread only.
class SessionPool {
  public:
    explicit SessionPool(size_t bound) : bound_(bound) {}
    ~SessionPool();
    SessionPool(const SessionPool&) = delete;
    SessionPool& operator=(const SessionPool&) = delete;

    // Starts the session; false, with nothing started, when `bound` sessions are under way.
    bool Launch(std::function<void()> session);
    // Waits for the sessions under way (the caller has told them to end) and ends the threads.
    void Stop();

  private:
    void Work();

    size_t bound_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::thread> threads_;
    size_t underWay_ = 0;  // sessions queued or running
    size_t idle_ = 0;      // threads waiting for a session
    bool stopping_ = false;
};

}  // namespace sim
