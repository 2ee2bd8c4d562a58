#include "portmonitor/PortServices.h"

#include "platform/services/ExportGuard.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/PortStore.h"

namespace {

std::optional<std::string> Propose(const std::string& serverName) {
    return plat::GuardExport(std::optional<std::string>{}, [&] { return ProposePortName(serverName); });
}

bool Exists(const std::string& name) {
    return plat::GuardExport(false, [&] { return PortExists(name); });
}

PortSetupResult SetUp(const ServerRecord& record, const std::string& portName, bool configure) {
    return plat::GuardExport(PortSetupResult::StoreFailed,
                             [&] { return SetUpPort(record, portName, configure); });
}

bool Delete(const std::string& name) {
    return DeletePort(nullptr, 0, name.c_str()) != 0;
}

std::optional<std::string> Adapter(const std::string& name) {
    return plat::GuardExport(std::optional<std::string>{}, [&] { return PortAdapter(name); });
}

}  // namespace

const PortServices& MonitorPortServices() {
    static const PortServices services{Propose, Exists, SetUp, Delete, Adapter};
    return services;
}
