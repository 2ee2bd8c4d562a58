#include "platform/window/ThreadContext.h"

#include "platform/window/WindowTable.h"

namespace plat {

namespace {

struct ThreadHolder {
    std::shared_ptr<ThreadQueue> queue;

    ~ThreadHolder() {
        if (queue) {
            queue->Retire();
            WindowTable::Instance().RemoveAllOf(queue.get());
        }
    }
};

thread_local ThreadHolder holder;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
    if (!holder.queue) {
        holder.queue = std::make_shared<ThreadQueue>();
    }
    return holder.queue;
}

ThreadQueue* CurrentQueueIfAny() {
    return holder.queue.get();
}

}  // namespace plat
