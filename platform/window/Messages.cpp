// Posting, sending, taking and dispatching messages; timers; pumping.
// (A send to another thread or process is in WaitingSend.)
#include <chrono>

#include "platform/window/MessagePort.h"
#include "platform/window/ThreadContext.h"
#include "platform/window/WaitingSend.h"
#include "platform/window/Window.h"
#include "platform/window/WindowDirectory.h"
#include "platform/window/WindowTable.h"

namespace plat {

namespace {

using Clock = ThreadQueue::Clock;

thread_local bool insideIdleHook = false;

WindowTable& Table() {
    return WindowTable::Instance();
}

}  // namespace

void CallIdleHook() {
    const std::function<void()>* idleHook = CurrentIdleHook();
    if (idleHook != nullptr && *idleHook && !insideIdleHook) {
        insideIdleHook = true;
        const auto hook = *idleHook;  // the hook may replace itself
        hook();
        insideIdleHook = false;
    }
}

bool PostMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    // Their lParam points at the poster's memory, which does not wait for the message.
    if (message == kWmSetText || message == kWmGetText) {
        return false;
    }
    const Message posted{window, message, wParam, lParam};
    if (window == 0) {
        return CurrentQueue()->Post(posted);
    }
    if (const auto record = Table().Find(window)) {
        return record->owner->Post(posted);
    }
    const auto owner = WindowDirectory::Owner(window);
    return owner && *owner != SelfIdentity() && MessagePort::Instance().Post(*owner, posted);
}

LResult SendMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    const Message sent{window, message, wParam, lParam};
    if (const auto record = Table().Find(window)) {
        return record->OwnedByCallingThread() ? record->Call(message, wParam, lParam)
                                              : SendToThread(*record, sent);
    }
    return window == 0 ? 0 : SendToProcess(sent);
}

void PostQuitMessage(int exitCode) {
    CurrentQueue()->Post({0, kWmQuit, static_cast<WParam>(exitCode), 0});
}

bool GetMessage(Message& message) {
    const auto queue = CurrentQueue();
    for (;;) {
        auto work = queue->Take(true, Clock::time_point::max());
        if (work.sent) {
            DispatchSent(*work.sent);
        } else if (work.posted) {
            message = *work.posted;
            return message.message != kWmQuit;
        }
    }
}

bool PeekMessage(Message& message, bool remove) {
    const auto queue = CurrentQueue();
    for (;;) {
        auto work = queue->Take(remove, Clock::now());
        if (!work.sent) {
            if (work.posted) {
                message = *work.posted;
            }
            return work.posted.has_value();
        }
        DispatchSent(*work.sent);
    }
}

LResult DispatchMessage(const Message& message) {
    if (message.message == kWmTimer && message.lParam != 0) {
        // Only a procedure of a live timer of this thread is called: the number may come from anywhere.
        const auto procedure = reinterpret_cast<TimerProc>(message.lParam);
        ThreadQueue* queue = CurrentQueueIfAny();
        if (queue != nullptr && queue->HasTimer(message.window, message.wParam, procedure)) {
            procedure(message.window, message.message, message.wParam, TickCount());
        }
        return 0;
    }
    const auto record = Table().Find(message.window);
    if (!record || !record->OwnedByCallingThread()) {
        return 0;
    }
    return record->Call(message.message, message.wParam, message.lParam);
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t elapseMs,
                        TimerProc procedure) {
    if (window == 0) {
        return CurrentQueue()->SetTimer(0, timerId, elapseMs, procedure);
    }
    const auto record = Table().Find(window);
    return record ? record->owner->SetTimer(window, timerId, elapseMs, procedure) : 0;
}

bool KillTimer(WindowHandle window, std::uintptr_t timerId) {
    if (window == 0) {
        ThreadQueue* queue = CurrentQueueIfAny();
        return queue != nullptr && queue->KillTimer(0, timerId);
    }
    const auto record = Table().Find(window);
    return record && record->owner->KillTimer(window, timerId);
}

int QueueFd() {
    return CurrentQueue()->PollFd();
}

void SetIdleHook(std::function<void()> hook) {
    if (std::function<void()>* idleHook = CurrentIdleHook()) {
        *idleHook = std::move(hook);
    }
}

bool PumpWaiting(std::uint32_t timeoutMs) {
    const auto queue = CurrentQueue();
    auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto work = queue->Take(true, until);
        if (work.sent) {
            DispatchSent(*work.sent);
        } else if (work.posted) {
            if (work.posted->message == kWmQuit) {
                return false;
            }
            DispatchMessage(*work.posted);
        } else {
            break;
        }
        until = Clock::time_point::min();  // after the first, only what already waits
    }
    CallIdleHook();
    return true;
}

std::uint32_t TickCount() {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(now.count());
}

}  // namespace plat
