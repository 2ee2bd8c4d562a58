#include "platform/window/WaitingSend.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window/AnswerSlot.h"
#include "platform/window/MessagePort.h"
#include "platform/window/ThreadContext.h"
#include "platform/window/WindowDirectory.h"

namespace plat {

namespace {

// A sender that waits looks this often whether the receiver is still there.
constexpr auto kReceiverCheckPeriod = std::chrono::milliseconds(100);

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

LResult WaitForAnswer(const AnswerSlot& slot, const std::function<bool()>& receiverThere) {
    const auto queue = CurrentQueue();
    for (;;) {
        const auto until = ThreadQueue::Clock::now() + kReceiverCheckPeriod;
        if (auto sent = queue->TakeSent(until, [&] { return slot.Done(); })) {
            DispatchSent(*sent);
        } else if (slot.Done()) {
            return slot.Result();
        } else if (!receiverThere()) {
            return 0;
        }
    }
}

// The answer's text into the sender's buffer of `size` bytes (not 0), cut to fit and terminated.
LResult CopyAnswerText(const AnswerSlot& slot, WParam size, LParam buffer) {
    // Unanswered, the slot may be being completed this very moment: its text is not read.
    const std::string_view text = slot.Done() ? std::string_view(slot.Text()) : std::string_view();
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    char* bytes = reinterpret_cast<char*>(buffer);
    std::memcpy(bytes, text.data(), length);
    bytes[length] = '\0';
    return static_cast<LResult>(length);
}

}  // namespace

void DispatchSent(SentMessage& sent) {
    const Message& message = sent.Content();
    const auto record = WindowTable::Instance().Find(message.window);
    if (!record || !record->OwnedByCallingThread()) {
        return;  // answered 0 as it goes
    }
    if (sent.CarriesText()) {
        DispatchCarriedText(*record, sent);
    } else {
        sent.Answer(record->Call(message.message, message.wParam, message.lParam));
    }
}

LResult SendToThread(const WindowRecord& record, const Message& message) {
    const auto slot = std::make_shared<AnswerSlot>(CurrentQueue());
    record.owner->Deliver(SentMessage(
        message, [slot](LResult result, std::string_view text) { slot->Complete(result, text); }));
    return WaitForAnswer(*slot, [&] { return WindowTable::Instance().Find(message.window) != nullptr; });
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
    return message.message == kWmGetText ? CopyAnswerText(*slot, message.wParam, message.lParam) : result;
}

}  // namespace plat
