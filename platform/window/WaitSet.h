#pragma once

#include <sys/epoll.h>

#include <cstdint>

namespace plat {

// What the owner thread of a queue waits on: one epoll set of the sockets selected for its windows
// (each registered one-shot under a key of the caller's choosing) and of a wake counter, which
// another thread bumps when it changes the queue while the owner waits. Made on first use; not
// locked itself (the queue's lock guards it).
class WaitSet {
  public:
    WaitSet() = default;
    WaitSet(const WaitSet&) = delete;
    WaitSet& operator=(const WaitSet&) = delete;
    ~WaitSet();

    // The epoll descriptor; -1 when it cannot be made.
    int Fd();

    // Registers (add) or re-registers (modify) `fd` one-shot for `events`; false on failure.
    bool Watch(int fd, std::uint32_t events, std::uint64_t key, bool add);
    void Unwatch(int fd);

    void Wake();
    // Waits up to timeoutMs (-1: no limit) and answers the number of socket reports written to
    // `reports` (a wake is not one of them). Call Fd() first: this runs without the queue's lock.
    int Wait(int timeoutMs, epoll_event* reports, int capacity);

  private:
    static constexpr std::uint64_t kWakeKey = ~std::uint64_t{0};

    int epoll_ = -1;
    int wake_ = -1;
};

}  // namespace plat
