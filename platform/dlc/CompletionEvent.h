#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace plat {

// A manual-reset event: once set it stays set, waking every waiter, until it is reset. DLC command
// blocks carry one to tell the issuer that the command has completed.
class CompletionEvent {
  public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

    void Set();
    void Reset();
    bool IsSet();
    // True when the event is set within timeoutMs (kInfinite: no limit).
    bool Wait(std::uint32_t timeoutMs);

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool set_ = false;
};

}  // namespace plat
