#include "platform/window/WindowDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <mutex>
#include <random>
#include <sstream>
#include <unordered_map>

#include "platform/services/FolderStream.h"
#include "platform/window/RuntimeFolder.h"

namespace plat {

namespace {

// Far beyond any class name and window text; a file larger than this is not an entry.
constexpr std::size_t kLongestEntry = 1 << 24;

const std::string& EntryFolder() {
    static const std::string* folder = [] {  // never destroyed, as the runtime folder's name
        auto* path = new std::string(RuntimeFolder() + "/windows");
        mkdir(path->c_str(), 0700);
        return path;
    }();
    return *folder;
}

std::string EntryPath(WindowHandle window) {
    return EntryFolder() + "/" + std::to_string(window);
}

// A fresh counter starts at a random place, so that a handle kept from before the runtime folder was
// emptied (a reboot) does not name one of the new windows.
std::uint32_t FirstHandle() {
    std::random_device random;
    return std::uniform_int_distribution<std::uint32_t>(0x1000, 0x7FFFFFFF)(random);
}

// Entry file: "<pid> <start time>\n<class>\n<title>"; the title runs to the end of the file. It is
// rewritten in place under an exclusive lock and read under a shared one, so that a reader never sees
// half an entry. Neither renamed over nor emptied first: some file systems write a file replaced
// either way to disk at once, which made setting a notice text a hundred times dearer.
std::string EntryText(const DirectoryEntry& entry) {
    return std::to_string(entry.owner.pid) + ' ' + std::to_string(entry.owner.startTime) + '\n' +
           entry.className + '\n' + entry.title;
}

// The entry file's content; none when it cannot be read or is larger than any entry this layer writes.
std::optional<std::string> ReadEntryFile(WindowHandle window) {
    const int fd = open(EntryPath(window).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string content;
    char chunk[4096];
    ssize_t length = 0;
    if (flock(fd, LOCK_SH) == 0) {
        while ((length = read(fd, chunk, sizeof chunk)) > 0 && content.size() <= kLongestEntry) {
            content.append(chunk, static_cast<std::size_t>(length));
        }
    }
    close(fd);
    if (length != 0 || content.size() > kLongestEntry) {
        return std::nullopt;
    }
    return content;
}

std::optional<DirectoryEntry> ReadEntry(WindowHandle window) {
    const auto content = ReadEntryFile(window);
    if (!content) {
        return std::nullopt;
    }
    const auto firstBreak = content->find('\n');
    const auto secondBreak =
        firstBreak == std::string::npos ? firstBreak : content->find('\n', firstBreak + 1);
    if (secondBreak == std::string::npos) {
        return std::nullopt;
    }
    DirectoryEntry entry;
    entry.window = window;
    std::istringstream owner(content->substr(0, firstBreak));
    if (!(owner >> entry.owner.pid >> entry.owner.startTime)) {
        return std::nullopt;
    }
    entry.className = content->substr(firstBreak + 1, secondBreak - firstBreak - 1);
    entry.title = content->substr(secondBreak + 1);
    return entry;
}

// The owners of windows looked up before; forgotten when a window's entry is gone.
class OwnerMemory {
  public:
    static OwnerMemory& Instance() {
        static auto* memory = new OwnerMemory;  // never destroyed: the layer's threads outlive statics
        return *memory;
    }

    std::optional<ProcessIdentity> Recall(WindowHandle window) {
        std::lock_guard lock(mutex_);
        const auto found = owners_.find(window);
        return found == owners_.end() ? std::nullopt : std::optional(found->second);
    }
    void Remember(WindowHandle window, const ProcessIdentity& owner) {
        std::lock_guard lock(mutex_);
        if (owners_.size() >= kRemembered) {
            owners_.clear();
        }
        owners_[window] = owner;
    }
    void Forget(WindowHandle window) {
        std::lock_guard lock(mutex_);
        owners_.erase(window);
    }

  private:
    static constexpr std::size_t kRemembered = 1024;

    std::mutex mutex_;
    std::unordered_map<WindowHandle, ProcessIdentity> owners_;
};

std::optional<DirectoryEntry> LiveEntry(WindowHandle window) {
    auto entry = ReadEntry(window);
    if (entry && entry->owner != SelfIdentity() && !IsProcessAlive(entry->owner)) {
        WindowDirectory::Withdraw(window);
        return std::nullopt;
    }
    return entry;
}

}  // namespace

WindowHandle WindowDirectory::NewHandle() {
    const int fd = open((RuntimeFolder() + "/next-handle").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return 0;
    }
    WindowHandle handle = 0;
    if (flock(fd, LOCK_EX) == 0) {
        char text[16] = {};
        const ssize_t length = pread(fd, text, sizeof text - 1, 0);
        if (length <= 0 || std::from_chars(text, text + length, handle).ec != std::errc()) {
            handle = FirstHandle();
        }
        handle = handle == 0 ? 1 : handle;
        const std::string next = std::to_string(handle + 1 == 0 ? 1 : handle + 1);
        if (ftruncate(fd, 0) != 0 ||
            pwrite(fd, next.data(), next.size(), 0) != static_cast<ssize_t>(next.size())) {
            handle = 0;
        }
    }
    close(fd);  // releases the lock
    return handle;
}

bool WindowDirectory::Publish(const DirectoryEntry& entry) {
    const std::string content = EntryText(entry);
    if (content.size() > kLongestEntry) {
        return false;
    }
    const int fd = open(EntryPath(entry.window).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written =
        flock(fd, LOCK_EX) == 0 &&
        pwrite(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size()) &&
        ftruncate(fd, static_cast<off_t>(content.size())) == 0;
    close(fd);  // releases the lock
    return written;
}

void WindowDirectory::Withdraw(WindowHandle window) {
    unlink(EntryPath(window).c_str());
}

std::optional<DirectoryEntry> WindowDirectory::Find(WindowHandle window) {
    return window == 0 ? std::nullopt : LiveEntry(window);
}

std::optional<ProcessIdentity> WindowDirectory::Owner(WindowHandle window) {
    OwnerMemory& memory = OwnerMemory::Instance();
    if (window == 0 || access(EntryPath(window).c_str(), F_OK) != 0) {
        memory.Forget(window);
        return std::nullopt;
    }
    if (const auto owner = memory.Recall(window)) {
        return owner;
    }
    const auto entry = Find(window);
    if (!entry) {
        return std::nullopt;
    }
    memory.Remember(window, entry->owner);
    return entry->owner;
}

std::vector<DirectoryEntry> WindowDirectory::All() {
    std::vector<WindowHandle> windows;
    if (const FolderStream folder = OpenFolder(EntryFolder())) {
        while (const dirent* item = readdir(folder.get())) {
            const std::string_view name = item->d_name;
            WindowHandle window = 0;
            const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), window);
            if (error == std::errc() && end == name.data() + name.size() && window != 0) {
                windows.push_back(window);
            }
        }
    }
    std::vector<DirectoryEntry> entries;
    for (const WindowHandle window : windows) {
        if (auto entry = LiveEntry(window)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

}  // namespace plat
