#include "platform/window/ThreadContext.h"

#include "platform/window/WindowTable.h"

namespace plat {

namespace {

struct ThreadHolder {
    std::shared_ptr<ThreadQueue> queue;
    std::function<void()> idleHook;

    ~ThreadHolder();
};

thread_local ThreadHolder holder;
// Trivially destructible, so that it can still be read after `holder` has gone.
thread_local bool threadEnded = false;

ThreadHolder::~ThreadHolder() {
    threadEnded = true;
    if (queue) {
        queue->Retire();
        WindowTable::Instance().RemoveAllOf(queue.get());
    }
}

std::shared_ptr<ThreadQueue> RetiredQueue() {
    // Never destroyed: threads end while the process ends too.
    static const auto* retired = [] {
        auto* queue = new std::shared_ptr<ThreadQueue>(std::make_shared<ThreadQueue>());
        (*queue)->Retire();
        return queue;
    }();
    return *retired;
}

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
    if (threadEnded) {
        return RetiredQueue();
    }
    if (!holder.queue) {
        holder.queue = std::make_shared<ThreadQueue>();
    }
    return holder.queue;
}

ThreadQueue* CurrentQueueIfAny() {
    return threadEnded ? nullptr : holder.queue.get();
}

std::function<void()>* CurrentIdleHook() {
    return threadEnded ? nullptr : &holder.idleHook;
}

}  // namespace plat
