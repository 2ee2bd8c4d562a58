#pragma once

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace plat {

// A bounded queue whose file descriptor is readable exactly while an item waits, so that the
// endpoints of the segment can be polled, selected and watched for asynchronous notices like sockets.
template <class Item>
class PollableQueue {
  public:
    explicit PollableQueue(std::size_t capacity)
        : capacity_(capacity), fd_(eventfd(0, EFD_SEMAPHORE | EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~PollableQueue() { close(fd_); }
    PollableQueue(const PollableQueue&) = delete;
    PollableQueue& operator=(const PollableQueue&) = delete;

    int Fd() const { return fd_; }

    // False when the queue is full: the item is lost.
    bool Push(Item item) {
        std::lock_guard guard(lock_);
        if (items_.size() >= capacity_) {
            return false;
        }
        items_.push_back(std::move(item));
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(fd_, &one, sizeof one);
        return true;
    }

    std::optional<Item> Pop() {
        std::lock_guard guard(lock_);
        if (items_.empty()) {
            return std::nullopt;
        }
        Item item = std::move(items_.front());
        items_.pop_front();
        std::uint64_t count;
        [[maybe_unused]] ssize_t got = read(fd_, &count, sizeof count);
        return item;
    }

    std::size_t Size() {
        std::lock_guard guard(lock_);
        return items_.size();
    }

  private:
    std::mutex lock_;
    std::deque<Item> items_;
    std::size_t capacity_;
    int fd_;
};

}  // namespace plat
