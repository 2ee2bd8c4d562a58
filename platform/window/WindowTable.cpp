#include "platform/window/WindowTable.h"

#include "platform/services/DebugOutput.h"
#include "platform/window/ThreadContext.h"
#include "platform/window/WindowDirectory.h"

namespace plat {

LResult WindowRecord::Call(std::uint32_t message, WParam wParam, LParam lParam) const {
    return procedure != nullptr ? procedure(handle, message, wParam, lParam)
                                : DefWindowProc(handle, message, wParam, lParam);
}

bool WindowRecord::OwnedByCallingThread() const {
    return owner.get() == CurrentQueueIfAny();
}

WindowTable& WindowTable::Instance() {
    // Never destroyed: threads of the layer may still use it while the process ends.
    static WindowTable* table = new WindowTable;
    return *table;
}

bool WindowTable::RegisterClass(const std::string& name, WindowProc procedure) {
    // The class name is one line of a directory entry.
    if (name.empty() || name.find('\n') != std::string::npos) {
        return false;
    }
    std::lock_guard lock(mutex_);
    return classes_.emplace(name, procedure).second;
}

bool WindowTable::UnregisterClass(const std::string& name) {
    std::lock_guard lock(mutex_);
    return classes_.erase(name) == 1;
}

std::optional<std::pair<std::string, WindowProc>> WindowTable::FindClass(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto found = classes_.find(name);
    if (found == classes_.end()) {
        return std::nullopt;
    }
    return *found;
}

bool WindowTable::Publish(const Entry& entry) const {
    return WindowDirectory::Publish(
        {entry.record->handle, SelfIdentity(), entry.record->className, entry.text});
}

bool WindowTable::Add(const WindowRecord& record, const std::string& text) {
    std::lock_guard lock(mutex_);
    Entry entry{std::make_shared<const WindowRecord>(record), text};
    if (!Publish(entry)) {
        WindowDirectory::Withdraw(record.handle);  // what may have been written of it
        return false;
    }
    windows_.emplace(record.handle, std::move(entry));
    return true;
}

std::shared_ptr<const WindowRecord> WindowTable::Find(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.record;
}

bool WindowTable::BeginDestroy(WindowHandle window) {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    if (found == windows_.end() || found->second.destroying) {
        return false;
    }
    found->second.destroying = true;
    return true;
}

void WindowTable::Remove(WindowHandle window) noexcept {
    std::shared_ptr<const WindowRecord> record;
    {
        std::lock_guard lock(mutex_);
        const auto found = windows_.find(window);
        if (found == windows_.end()) {
            return;
        }
        record = found->second.record;
        windows_.erase(found);
    }
    // Windows are destroyed by destructors: tidying up must not throw. A runtime entry or a queued
    // message that stays for want of memory names a window that no longer exists, as after a crash.
    try {
        WindowDirectory::Withdraw(window);
        record->owner->Forget(window);
    } catch (const std::exception& error) {
        DebugPrintf("Window %u destroyed, not tidied up: %s\n", window, error.what());
    }
}

void WindowTable::RemoveAllOf(const ThreadQueue* owner) {
    std::vector<WindowHandle> owned;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [handle, entry] : windows_) {
            if (entry.record->owner.get() == owner) {
                owned.push_back(handle);
            }
        }
    }
    for (const WindowHandle window : owned) {
        Remove(window);
    }
}

std::string WindowTable::Text(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found == windows_.end() ? std::string() : found->second.text;
}

bool WindowTable::SetText(WindowHandle window, const std::string& text) {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        return false;
    }
    found->second.text = text;
    Publish(found->second);
    return true;
}

}  // namespace plat
