// Classes, windows and window texts.
#include "platform/window/Window.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/text/CaseInsensitive.h"
#include "platform/window/MessagePort.h"
#include "platform/window/ThreadContext.h"
#include "platform/window/WindowDirectory.h"
#include "platform/window/WindowTable.h"

namespace plat {

namespace {

WindowTable& Table() {
    return WindowTable::Instance();
}

bool IsForeign(const DirectoryEntry& entry) {
    return entry.owner != SelfIdentity();
}

// A procedure that claims more than this is not believed.
constexpr LResult kLongestText = 1 << 24;

}  // namespace

bool RegisterWindowClass(const std::string& className, WindowProc procedure) {
    return Table().RegisterClass(className, procedure);
}

bool UnregisterWindowClass(const std::string& className) {
    return Table().UnregisterClass(className);
}

WindowHandle CreateWindow(const std::string& className, const std::string& title) {
    const auto windowClass = Table().FindClass(className);
    if (!windowClass) {
        return 0;
    }
    const auto owner = CurrentQueue();
    if (!owner->Alive()) {
        return 0;  // the thread has ended: nothing would ever destroy the window
    }
    MessagePort::Instance().Open();  // without it the window is still usable inside this process
    const WindowHandle handle = WindowDirectory::NewHandle();
    if (handle == 0) {
        return 0;
    }
    const WindowRecord record{handle, windowClass->first, windowClass->second, owner};
    return Table().Add(record, title) ? handle : 0;
}

bool DestroyWindow(WindowHandle window) {
    const auto record = Table().Find(window);
    if (!record || !record->OwnedByCallingThread() || !Table().BeginDestroy(window)) {
        return false;
    }
    record->Call(kWmDestroy, 0, 0);
    Table().Remove(window);
    return true;
}

bool IsWindow(WindowHandle window) {
    if (window == 0) {
        return false;
    }
    if (Table().Find(window)) {
        return true;
    }
    const auto entry = WindowDirectory::Find(window);
    return entry && IsForeign(*entry);
}

// Of several matching windows, the one made last (the handles of a runtime folder only grow).
WindowHandle FindWindow(const std::string& className, const std::string& title) {
    WindowHandle found = 0;
    for (const DirectoryEntry& entry : WindowDirectory::All()) {
        if ((!className.empty() && !EqualsNoCase(entry.className, className)) ||
            (!title.empty() && !EqualsNoCase(entry.title, title)) ||
            (!IsForeign(entry) && !Table().Find(entry.window))) {
            continue;
        }
        found = std::max(found, entry.window);
    }
    return found;
}

LResult DefWindowProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
        case kWmSetText:
            return Table().SetText(window, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "") ? 1 : 0;
        case kWmGetText: {
            if (wParam == 0 || lParam == 0) {
                return 0;
            }
            const std::string text = Table().Text(window);
            const std::size_t length = std::min<std::size_t>(text.size(), wParam - 1);
            char* buffer = reinterpret_cast<char*>(lParam);
            std::memcpy(buffer, text.data(), length);
            buffer[length] = '\0';
            return static_cast<LResult>(length);
        }
        case kWmGetTextLength:
            return static_cast<LResult>(Table().Text(window).size());
        case kWmClose:
            DestroyWindow(window);
            return 0;
        default:
            return 0;
    }
}

bool SetWindowText(WindowHandle window, const std::string& text) {
    return SendMessage(window, kWmSetText, 0, reinterpret_cast<LParam>(text.c_str())) != 0;
}

// A window of this process is asked (its procedure may answer for itself); of another process, the
// text it last published is read.
std::string GetWindowText(WindowHandle window) {
    if (Table().Find(window)) {
        const LResult length = SendMessage(window, kWmGetTextLength, 0, 0);
        if (length <= 0 || length > kLongestText) {
            return {};
        }
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        const LResult copied =
            SendMessage(window, kWmGetText, text.size(), reinterpret_cast<LParam>(text.data()));
        text.resize(static_cast<std::size_t>(std::clamp<LResult>(copied, 0, length)));
        return text;
    }
    const auto entry = WindowDirectory::Find(window);
    return entry && IsForeign(*entry) ? entry->title : std::string();
}

std::string WindowHandleToText(WindowHandle window) {
    return std::to_string(static_cast<std::int32_t>(window));
}

WindowHandle WindowHandleFromText(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < INT32_MIN || value > UINT32_MAX) {
        return 0;
    }
    return static_cast<WindowHandle>(value);
}

}  // namespace plat
