#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/window/QueuePollFd.h"
#include "platform/window/SelectedSockets.h"
#include "platform/window/SentMessage.h"
#include "platform/window/TimerList.h"
#include "platform/window/WaitSet.h"
#include "platform/window/Window.h"

namespace plat {

// The message queue of one thread: messages sent to its windows (waiting senders), posted messages in
// order, its timers, and the sockets selected for its windows. Any thread may post or deliver; only
// the owner thread takes. The owner waits in its wait set, which holds the selected sockets too: a
// socket with something to report wakes the owner itself, and its notice joins the posted messages
// when the owner looks for work and none waits.
class ThreadQueue {
  public:
    using Clock = TimerList::Clock;

    ThreadQueue() = default;
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    // Both fail once the thread has ended; a sent message that is refused is answered 0.
    bool Post(const Message& message);
    bool Deliver(SentMessage message);

    // The next work, in this order: a sent message (always removed), a posted message (socket notices
    // included), a due timer's kWmTimer. Waits until `until` for one; gives neither when there is none.
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

    // Notices of a socket to a window of this thread; false once the thread has ended, or when the
    // descriptor is not a socket or cannot be watched.
    bool SelectSocket(int fd, const SocketTarget& target);
    void RearmSocket(int fd);
    // After it returns no notice of the socket waits in the queue or is made any more.
    void CancelSocket(int fd);

    std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapseMs,
                            TimerProc procedure);
    bool KillTimer(WindowHandle window, std::uintptr_t id);
    bool HasTimer(WindowHandle window, std::uintptr_t id, TimerProc procedure) const;

    // A window of this thread is destroyed: its posted messages, timers and socket selections go, its
    // sent messages are answered 0.
    void Forget(WindowHandle window);
    // The thread has ended: everything waiting is dropped and nothing more is accepted.
    void Retire();
    bool Alive() const;

    // Readable while there is work: a message waits, a timer is due or a selected socket has something
    // to report. Made on first use.
    int PollFd();

  private:
    Work NextLocked(bool remove, Clock::time_point now);
    std::optional<Clock::time_point> NextDueLocked() const;
    // Waits in the wait set until `until` at the latest; queues the notices of the sockets that woke it.
    void WaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point until);
    // After a change from any thread: wakes the owner if it waits, and keeps the poll descriptor true.
    void ChangedLocked();
    void SyncPollFdLocked();

    mutable std::mutex mutex_;
    std::deque<SentMessage> sent_;
    std::deque<Message> posted_;
    TimerList timers_;
    WaitSet waitSet_;
    SelectedSockets sockets_{waitSet_};
    QueuePollFd pollFd_;
    bool alive_ = true;
    bool waiting_ = false;  // the owner waits in the wait set
    bool woken_ = false;    // ... and has been woken since it started to
};

}  // namespace plat
