#include "platform/window/WindowDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "platform/window/RuntimeFolder.h"

namespace plat {

namespace {

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

// Entry file: "<pid> <start time>\n<class>\n<title>"; the title runs to the end of the file.
std::optional<DirectoryEntry> ReadEntry(WindowHandle window) {
    std::ifstream file(EntryPath(window), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto firstBreak = content.find('\n');
    const auto secondBreak =
        firstBreak == std::string::npos ? firstBreak : content.find('\n', firstBreak + 1);
    if (secondBreak == std::string::npos) {
        return std::nullopt;
    }
    DirectoryEntry entry;
    entry.window = window;
    std::istringstream owner(content.substr(0, firstBreak));
    if (!(owner >> entry.owner.pid >> entry.owner.startTime)) {
        return std::nullopt;
    }
    entry.className = content.substr(firstBreak + 1, secondBreak - firstBreak - 1);
    entry.title = content.substr(secondBreak + 1);
    return entry;
}

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
    // Written beside and renamed over, so that a reader never sees half an entry.
    const std::string path = EntryPath(entry.window);
    const std::string scratch = path + ".new" + std::to_string(gettid());
    {
        std::ofstream file(scratch, std::ios::binary | std::ios::trunc);
        file << entry.owner.pid << ' ' << entry.owner.startTime << '\n'
             << entry.className << '\n'
             << entry.title;
        if (!file.flush()) {
            std::remove(scratch.c_str());
            return false;
        }
    }
    return std::rename(scratch.c_str(), path.c_str()) == 0;
}

void WindowDirectory::Withdraw(WindowHandle window) {
    unlink(EntryPath(window).c_str());
}

std::optional<DirectoryEntry> WindowDirectory::Find(WindowHandle window) {
    return window == 0 ? std::nullopt : LiveEntry(window);
}

std::vector<DirectoryEntry> WindowDirectory::All() {
    std::vector<WindowHandle> windows;
    if (DIR* folder = opendir(EntryFolder().c_str())) {
        while (const dirent* item = readdir(folder)) {
            const std::string_view name = item->d_name;
            WindowHandle window = 0;
            const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), window);
            if (error == std::errc() && end == name.data() + name.size() && window != 0) {
                windows.push_back(window);
            }
        }
        closedir(folder);
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
