// Asynchronous notification of sockets to windows.
#include "platform/window/SocketWatcher.h"
#include "platform/window/Window.h"
#include "platform/window/WindowTable.h"

namespace plat {

bool AsyncSelect(int fd, std::uintptr_t socketId, WindowHandle window, std::uint32_t message, long events) {
    if (events == 0) {
        CancelAsyncSelect(fd);
        return true;
    }
    // A window of this process only: its notices are posted in memory, and a cancel can take back
    // those still queued.
    return WindowTable::Instance().Find(window) != nullptr &&
           SocketWatcher::Instance().Select(fd, {socketId, window, message, events});
}

void RearmAsyncRead(int fd) {
    SocketWatcher::Instance().Rearm(fd);
}

// Notices already queued for the socket go too, so that none arrives after the cancel.
void CancelAsyncSelect(int fd) {
    const auto ended = SocketWatcher::Instance().Cancel(fd);
    if (!ended) {
        return;
    }
    if (const auto record = WindowTable::Instance().Find(ended->window)) {
        record->owner->Purge([&](const Message& message) {
            return message.window == ended->window && message.message == ended->message &&
                   message.wParam == ended->socketId;
        });
    }
}

}  // namespace plat
