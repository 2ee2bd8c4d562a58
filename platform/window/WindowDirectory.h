#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/window/ProcessIdentity.h"
#include "platform/window/Window.h"

namespace plat {

// The windows of every process of the runtime folder, one file per window in its "windows" folder,
// so that other processes can find them by class and title and tell whether they still exist.
struct DirectoryEntry {
    WindowHandle window = 0;
    ProcessIdentity owner;
    std::string className;
    std::string title;
};

class WindowDirectory {
  public:
    // A handle no other window of the runtime folder has had lately; 0 when the folder is not usable.
    static WindowHandle NewHandle();
    static bool Publish(const DirectoryEntry& entry);  // made or replaced as a whole
    static void Withdraw(WindowHandle window);
    // Entries of processes that have ended are removed, never answered.
    static std::optional<DirectoryEntry> Find(WindowHandle window);
    // The process of a window, for delivering to it: remembered from an earlier lookup while the
    // window's entry exists. A process that has ended since is not noticed here: delivering to its
    // closed message port fails.
    static std::optional<ProcessIdentity> Owner(WindowHandle window);
    static std::vector<DirectoryEntry> All();
};

}  // namespace plat
