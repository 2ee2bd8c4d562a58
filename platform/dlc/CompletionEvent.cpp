#include "platform/dlc/CompletionEvent.h"

#include <chrono>

namespace plat {

void CompletionEvent::Set() {
    std::lock_guard guard(lock_);
    set_ = true;
    changed_.notify_all();
}

void CompletionEvent::Reset() {
    std::lock_guard guard(lock_);
    set_ = false;
}

bool CompletionEvent::IsSet() {
    std::lock_guard guard(lock_);
    return set_;
}

bool CompletionEvent::Wait(std::uint32_t timeoutMs) {
    std::unique_lock guard(lock_);
    if (timeoutMs == kInfinite) {
        changed_.wait(guard, [this] { return set_; });
        return true;
    }
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return set_; });
}

}  // namespace plat
