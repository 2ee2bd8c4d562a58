#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/window/SentMessage.h"
#include "platform/window/TimerList.h"
#include "platform/window/Window.h"

namespace plat {

// The message queue of one thread: messages sent to its windows (waiting senders), posted messages in
// order, and its timers. Any thread may post or deliver; only the owner thread takes.
class ThreadQueue {
  public:
    using Clock = TimerList::Clock;

    ThreadQueue() = default;
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;
    ~ThreadQueue();

    // Both fail once the thread has ended; a sent message that is refused is answered 0.
    bool Post(const Message& message);
    bool Deliver(SentMessage message);

    // The next work, in this order: a sent message (always removed), a posted message, a due timer's
    // kWmTimer. Waits until `until` for one; gives neither when there is none.
    struct Work {
        std::optional<SentMessage> sent;
        std::optional<Message> posted;
    };
    Work Take(bool remove, Clock::time_point until);
    // For a thread that waits for an answer: the next sent message, or none once `done` holds or
    // `until` has passed.
    std::optional<SentMessage> TakeSent(Clock::time_point until, const std::function<bool()>& done);
    // Runs `change` under the queue's lock and wakes the owner thread.
    void Signal(const std::function<void()>& change);

    std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs,
                            TimerProc procedure);
    bool KillTimer(WindowHandle window, std::uintptr_t id);
    bool HasTimer(WindowHandle window, std::uintptr_t id, TimerProc procedure) const;

    // A window of this thread is destroyed: its posted messages and timers go, its sent messages are
    // answered 0.
    void Forget(WindowHandle window);
    void Purge(const std::function<bool(const Message&)>& match);
    // The thread has ended: everything waiting is dropped and nothing more is accepted.
    void Retire();
    bool Alive() const;

    // Readable while there is work: a message waits or a timer is due. Made on first use.
    int PollFd();

  private:
    void SyncPollFd();
    void WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point until);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<SentMessage> sent_;
    std::deque<Message> posted_;
    TimerList timers_;
    bool alive_ = true;
    int pollFd_ = -1;
    int workFd_ = -1;
    int timerFd_ = -1;
    bool workSignalled_ = false;
};

}  // namespace plat
