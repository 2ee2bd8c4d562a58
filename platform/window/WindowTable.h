#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/CaseInsensitive.h"
#include "platform/window/ThreadQueue.h"
#include "platform/window/Window.h"

namespace plat {

// A window of this process.
struct WindowRecord {
    WindowHandle handle = 0;
    std::string className;
    WindowProc procedure = nullptr;
    std::shared_ptr<ThreadQueue> owner;

    // Runs the window's procedure (the default one for a class registered without).
    LResult Call(std::uint32_t message, WParam wParam, LParam lParam) const;
    bool OwnedByCallingThread() const;
};

// The classes and windows of this process. Every window is also published in the window directory
// (with its current text), so that other processes find it; the two are kept in step here.
class WindowTable {
  public:
    static WindowTable& Instance();

    bool RegisterClass(const std::string& name, WindowProc procedure);
    bool UnregisterClass(const std::string& name);
    // The class as registered (name as given then, procedure); none for an unknown class.
    std::optional<std::pair<std::string, WindowProc>> FindClass(const std::string& name) const;

    bool Add(const WindowRecord& record, const std::string& text);
    std::shared_ptr<const WindowRecord> Find(WindowHandle window) const;
    // Marks the window as going; false when it is unknown or already going.
    bool BeginDestroy(WindowHandle window);
    // The window is gone: from the table, the directory and its owner's queue. Never throws.
    void Remove(WindowHandle window) noexcept;
    void RemoveAllOf(const ThreadQueue* owner);

    std::string Text(WindowHandle window) const;
    bool SetText(WindowHandle window, const std::string& text);

  private:
    struct Entry {
        std::shared_ptr<const WindowRecord> record;
        std::string text;
        bool destroying = false;
    };

    bool Publish(const Entry& entry) const;

    mutable std::mutex mutex_;
    std::map<std::string, WindowProc, CaseInsensitiveLess> classes_;
    std::map<WindowHandle, Entry> windows_;
};

}  // namespace plat
