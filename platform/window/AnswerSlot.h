#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "platform/window/Window.h"

namespace plat {

class ThreadQueue;

// Where a sender that waits receives the answer to its message; completing it wakes the sender's thread.
class AnswerSlot {
  public:
    explicit AnswerSlot(std::shared_ptr<ThreadQueue> waiter);

    void Complete(LResult result, std::string_view text);
    bool Done() const { return done_; }
    // Valid once Done().
    LResult Result() const { return result_; }
    const std::string& Text() const { return text_; }

  private:
    std::shared_ptr<ThreadQueue> waiter_;
    std::atomic<bool> done_{false};
    LResult result_ = 0;
    std::string text_;
};

}  // namespace plat
