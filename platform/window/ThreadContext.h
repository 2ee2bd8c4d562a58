#pragma once

#include <memory>

#include "platform/window/ThreadQueue.h"

namespace plat {

// The calling thread's queue, made on first use. When the thread ends its queue is retired and its
// windows are destroyed with it.
std::shared_ptr<ThreadQueue> CurrentQueue();
// The calling thread's queue when it has one; null otherwise (nothing is made).
ThreadQueue* CurrentQueueIfAny();

}  // namespace plat
