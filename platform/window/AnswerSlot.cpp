#include "platform/window/AnswerSlot.h"

#include <utility>

#include "platform/window/ThreadQueue.h"

namespace plat {

AnswerSlot::AnswerSlot(std::shared_ptr<ThreadQueue> waiter) : waiter_(std::move(waiter)) {}

void AnswerSlot::Complete(LResult result, std::string_view text) {
    waiter_->Signal([&] {
        if (!done_) {
            result_ = result;
            text_ = text;
            done_ = true;
        }
    });
}

}  // namespace plat
