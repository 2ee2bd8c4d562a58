#include "portmonitor/PortSetup.h"

#include <cstdio>

#include "platform/spooler/PortUse.h"
#include "platform/text/ControlCharacters.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortName.h"
#include "portmonitor/PortStore.h"

namespace {

constexpr std::size_t kCutName = 13;
constexpr int kNumberedNames = 32;

}  // namespace

bool PortExists(const std::string& name) {
    return FindPort(name) != nullptr;
}

bool PortPrints(const CNPC& port) {
    plat::PortUse use;
    return port.State() != PM32_PORT_CLOSED ||
           (plat::GetPortUse(port.GetPortName(), use) && use.printing > 0);
}

std::optional<std::string> ProposePortName(const std::string& serverName) {
    const std::string usable = plat::WithoutControls(serverName);
    const std::string name = usable.size() > kPortNameLimit ? usable.substr(0, kCutName) : usable;
    if (!name.empty() && !PortExists(name)) {
        return name;
    }
    const std::string stem = name.substr(0, kPortNameLimit - 2);
    for (int number = 0; number < kNumberedNames; ++number) {
        char suffix[4];
        std::snprintf(suffix, sizeof suffix, "%02d", number);
        if (!PortExists(stem + suffix)) {
            return stem + suffix;
        }
    }
    return std::nullopt;
}

PortSetupResult SetUpPort(const ServerRecord& record, const std::string& portName, bool configure) {
    PortNode* existing = FindPort(portName);
    if (configure && existing == nullptr) {
        return PortSetupResult::NoSuchPort;
    }
    if (configure && PortPrints(*existing->port)) {
        return PortSetupResult::PortInUse;
    }
    if (!configure && PortNameFault(portName) != 0) {
        return PortSetupResult::BadName;
    }
    // Configuring never renames: the port keeps the name it has.
    const std::string name = configure ? existing->port->GetPortName() : portName;
    const std::optional<std::string> previous = configure ? PortAdapter(name) : std::nullopt;
    auto connection = std::make_unique<CNPC>(record, name, ReadMonitorSettings());
    if (!SavePortEntry(record, name, configure)) {
        return PortSetupResult::StoreFailed;
    }
    if (!configure) {
        PushPort(std::move(connection));
        return PortSetupResult::Done;
    }
    if (!ReplaceClosedPort(name, connection)) {
        // A job opened the port meanwhile: it keeps its print server, in the store as well.
        std::optional<ServerRecord> before = previous ? ReadServerRecord(*previous) : std::nullopt;
        if (before) {
            SavePortEntry(*before, name, true);
        }
        return PortSetupResult::PortInUse;
    }
    return PortSetupResult::Done;
}
