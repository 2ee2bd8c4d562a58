#include "console/core/FirmwareServerWindow.h"

#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "platform/text/CaseInsensitive.h"
#include "platform/window/WindowDirectory.h"

namespace console {

namespace {

constexpr const char* kServerClass = "ASYNC_MSG_HANDLER";
constexpr const char* kServerTitle = "CPH";
constexpr const char* kServerProgram = "fendrel";
constexpr std::uint32_t kWmTftpRelease = 1026;

std::string ProgramName(pid_t pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

}  // namespace

plat::WindowHandle StoredFirmwareWindow() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey);
    const std::optional<std::string> text = key ? key->ReadText("Window") : std::nullopt;
    // The server writes its handle into a fixed field padded with zeros.
    return text ? plat::WindowHandleFromText(text->c_str()) : 0;
}

bool IsFirmwareServerWindow(plat::WindowHandle window) {
    if (window == 0 || !plat::IsWindow(window)) {
        return false;
    }
    const std::optional<plat::DirectoryEntry> entry = plat::WindowDirectory::Find(window);
    return entry && plat::EqualsNoCase(entry->className, kServerClass) &&
           plat::EqualsNoCase(entry->title, kServerTitle) && entry->owner.pid != getpid() &&
           ProgramName(entry->owner.pid) == kServerProgram;
}

void ReleaseFirmwareServer(plat::WindowHandle window) {
    if (!IsFirmwareServerWindow(window)) {
        return;
    }
    plat::SendMessage(window, kWmTftpRelease, 0, 0);
    plat::SendMessage(window, plat::kWmClose, 0, 0);
}

}  // namespace console
