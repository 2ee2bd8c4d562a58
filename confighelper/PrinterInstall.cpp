#include <algorithm>
#include <set>
#include <string>

#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

constexpr std::int32_t kAddPort = 1;
constexpr const char* kMonitorName = "Vorlane Network Printer Port";

std::set<std::string> PortNames() {
    const auto ports = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    if (!ports) {
        return {};
    }
    const std::vector<std::string> names = ports->SubkeyNames();
    return {names.begin(), names.end()};
}

// CUPS takes no blank, slash or hash in a queue's name.
std::string QueueName(std::string port) {
    std::replace_if(
        port.begin(), port.end(), [](char c) { return c == ' ' || c == '/' || c == '#'; }, '_');
    return port;
}

HelperResult AddPortAndQueue(plat::WindowHandle owner) {
    const std::set<std::string> before = PortNames();
    if (!plat::AddPort(nullptr, owner, kMonitorName)) {
        return kHelperPortNotAdded;
    }
    bool made = true;
    for (const std::string& port : PortNames()) {
        if (before.count(port) == 0) {
            made = plat::AddPrinter(QueueName(port), plat::PortDeviceUri(port)) && made;
        }
    }
    return made ? kHelperOk : kHelperQueueNotMade;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperInstallPrinter32(plat::WindowHandle owner, std::int32_t mode) {
    return plat::GuardExport(kHelperPortNotAdded, kHelperNoMemory, [&] {
        return (mode & 0xFF) == kAddPort ? AddPortAndQueue(owner) : kHelperNotOnThisPlatform;
    });
}
