// Asynchronous notification of sockets to windows: each socket is watched by the queue of the thread
// that owns its window, in that thread's own wait.
#include <map>
#include <memory>
#include <mutex>

#include "platform/window/ThreadQueue.h"
#include "platform/window/Window.h"
#include "platform/window/WindowTable.h"

namespace plat {

namespace {

// Which queue watches each selected descriptor, so that a re-arm or cancel from any thread finds it.
// Its lock is taken before a queue's.
struct Watchers {
    std::mutex mutex;
    std::map<int, std::weak_ptr<ThreadQueue>> queues;

    static Watchers& Instance() {
        // Never destroyed: threads of the layer may still use it while the process ends.
        static Watchers* watchers = new Watchers;
        return *watchers;
    }

    std::shared_ptr<ThreadQueue> FindLocked(int fd) {
        const auto found = queues.find(fd);
        return found == queues.end() ? nullptr : found->second.lock();
    }
};

}  // namespace

bool AsyncSelect(int fd, std::uintptr_t socketId, WindowHandle window, std::uint32_t message, long events) {
    if (events == 0) {
        CancelAsyncSelect(fd);
        return true;
    }
    // A window of this process only: its owner thread waits for the socket itself, and a cancel can
    // take back the notices still queued.
    const auto record = WindowTable::Instance().Find(window);
    if (!record) {
        return false;
    }
    Watchers& watchers = Watchers::Instance();
    std::lock_guard lock(watchers.mutex);
    if (const auto earlier = watchers.FindLocked(fd); earlier && earlier != record->owner) {
        earlier->CancelSocket(fd);
    }
    if (!record->owner->SelectSocket(fd, {socketId, window, message, events})) {
        return false;
    }
    watchers.queues[fd] = record->owner;
    return true;
}

void RearmAsyncRead(int fd) {
    Watchers& watchers = Watchers::Instance();
    std::lock_guard lock(watchers.mutex);
    if (const auto queue = watchers.FindLocked(fd)) {
        queue->RearmSocket(fd);
    }
}

void CancelAsyncSelect(int fd) {
    Watchers& watchers = Watchers::Instance();
    std::lock_guard lock(watchers.mutex);
    if (const auto queue = watchers.FindLocked(fd)) {
        queue->CancelSocket(fd);
    }
    watchers.queues.erase(fd);
}

}  // namespace plat
