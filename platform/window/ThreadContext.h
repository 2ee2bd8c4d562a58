#pragma once

#include <functional>
#include <memory>

#include "platform/window/ThreadQueue.h"

namespace plat {

// The calling thread's queue, made on first use. When the thread ends its queue is retired and its
// windows are destroyed with it; code that runs later in the thread's end (destructors of other
// thread-locals and of statics) gets a retired queue that refuses everything.
std::shared_ptr<ThreadQueue> CurrentQueue();
// The calling thread's queue when it has one; null otherwise (nothing is made).
ThreadQueue* CurrentQueueIfAny();
// The calling thread's idle hook; null once the thread has ended.
std::function<void()>* CurrentIdleHook();

}  // namespace plat
