#include "simulator/SessionPool.h"

namespace sim {

SessionPool::~SessionPool() {
    Stop();
}

bool SessionPool::Launch(std::function<void()> session) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || underWay_ >= bound_) {
            return false;
        }
        ++underWay_;
        queue_.push_back(std::move(session));
        if (idle_ < queue_.size()) {
            threads_.emplace_back([this] { Work(); });
        }
    }
    queued_.notify_one();
    return true;
}

void SessionPool::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        ++idle_;
        queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        --idle_;
        if (queue_.empty()) {
            return;
        }
        std::function<void()> session = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        session();
        session = nullptr;
        lock.lock();
        --underWay_;
    }
}

void SessionPool::Stop() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        threads.swap(threads_);
    }
    queued_.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace sim
