#include "platform/services/ProcessId.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>

namespace plat {

namespace {

std::atomic<pid_t> keptId{0};

void ForgetInChild() {
    keptId.store(0, std::memory_order_relaxed);
}

}  // namespace

pid_t CurrentProcessId() {
    pid_t id = keptId.load(std::memory_order_relaxed);
    if (id == 0) {
        // Kept only once a forked child is sure to forget it.
        static const bool forgottenInChildren = pthread_atfork(nullptr, nullptr, ForgetInChild) == 0;
        id = getpid();
        if (forgottenInChildren) {
            keptId.store(id, std::memory_order_relaxed);
        }
    }
    return id;
}

}  // namespace plat
