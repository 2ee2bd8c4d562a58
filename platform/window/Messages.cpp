// Posting, sending, taking and dispatching messages; timers; pumping.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/window/AnswerSlot.h"
#include "platform/window/MessagePort.h"
#include "platform/window/ThreadContext.h"
#include "platform/window/Window.h"
#include "platform/window/WindowDirectory.h"
#include "platform/window/WindowTable.h"

namespace plat {

namespace {

using Clock = ThreadQueue::Clock;

// A sender that waits looks this often whether the receiver is still there.
constexpr auto kReceiverCheckPeriod = std::chrono::milliseconds(100);

thread_local bool insideIdleHook = false;

WindowTable& Table() {
    return WindowTable::Instance();
}

bool OwnedByThisThread(const WindowRecord& record) {
    return record.owner.get() == CurrentQueueIfAny();
}

// Texts from another process stand in for the sender's pointers.
void DispatchCarriedText(const WindowRecord& record, SentMessage& sent) {
    const Message& message = sent.Content();
    if (message.message != kWmGetText) {
        sent.Answer(record.Call(message.message, message.wParam,
                                reinterpret_cast<LParam>(sent.CarriedText().c_str())));
        return;
    }
    std::string buffer(std::min<WParam>(message.wParam, kMaxCarriedText + 1), '\0');
    if (buffer.empty()) {
        sent.Answer(0);
        return;
    }
    const LResult result = record.Call(kWmGetText, buffer.size(), reinterpret_cast<LParam>(buffer.data()));
    const auto length = static_cast<std::size_t>(std::clamp<LResult>(result, 0, buffer.size() - 1));
    sent.Answer(result, std::string_view(buffer.data(), length));
}

void DispatchSent(SentMessage& sent) {
    const Message& message = sent.Content();
    const auto record = Table().Find(message.window);
    if (!record || !OwnedByThisThread(*record)) {
        return;  // answered 0 as it goes
    }
    if (sent.CarriesText()) {
        DispatchCarriedText(*record, sent);
    } else {
        sent.Answer(record->Call(message.message, message.wParam, message.lParam));
    }
}

// Waits for the answer and meanwhile serves what other threads and processes send to this one, so
// that two senders waiting for each other both get through.
LResult WaitForAnswer(const AnswerSlot& slot, const std::function<bool()>& receiverThere) {
    const auto queue = CurrentQueue();
    for (;;) {
        if (auto sent = queue->TakeSent(Clock::now() + kReceiverCheckPeriod, [&] { return slot.Done(); })) {
            DispatchSent(*sent);
        } else if (slot.Done()) {
            return slot.Result();
        } else if (!receiverThere()) {
            return 0;
        }
    }
}

LResult SendToThread(const WindowRecord& record, const Message& message) {
    const auto slot = std::make_shared<AnswerSlot>(CurrentQueue());
    record.owner->Deliver(SentMessage(
        message, [slot](LResult result, std::string_view text) { slot->Complete(result, text); }));
    return WaitForAnswer(*slot, [&] { return Table().Find(message.window) != nullptr; });
}

LResult SendToProcess(const Message& message) {
    const auto owner = WindowDirectory::Owner(message.window);
    if (!owner || *owner == SelfIdentity()) {
        return 0;
    }
    std::optional<std::string> text;
    Message carried = message;
    if (message.message == kWmSetText) {
        text = message.lParam != 0 ? reinterpret_cast<const char*>(message.lParam) : "";
        carried.lParam = 0;
    } else if (message.message == kWmGetText) {
        if (message.wParam == 0 || message.lParam == 0) {
            return 0;
        }
        text.emplace();
        carried.lParam = 0;
    }
    const auto slot = std::make_shared<AnswerSlot>(CurrentQueue());
    MessagePort& port = MessagePort::Instance();
    const auto serial = port.Send(*owner, carried, text, slot);
    if (!serial) {
        return 0;
    }
    const LResult result = WaitForAnswer(
        *slot, [&] { return IsProcessAlive(*owner) && WindowDirectory::Find(message.window).has_value(); });
    port.Abandon(*serial);
    if (message.message != kWmGetText) {
        return result;
    }
    char* buffer = reinterpret_cast<char*>(message.lParam);
    const std::size_t length =
        slot->Done() ? std::min<std::size_t>(slot->Text().size(), message.wParam - 1) : 0;
    std::memcpy(buffer, slot->Text().data(), length);
    buffer[length] = '\0';
    return static_cast<LResult>(length);
}

void CallIdleHook() {
    const std::function<void()>* idleHook = CurrentIdleHook();
    if (idleHook != nullptr && *idleHook && !insideIdleHook) {
        insideIdleHook = true;
        const auto hook = *idleHook;  // the hook may replace itself
        hook();
        insideIdleHook = false;
    }
}

}  // namespace

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
        return OwnedByThisThread(*record) ? record->Call(message, wParam, lParam)
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
    if (!record || !OwnedByThisThread(*record)) {
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
