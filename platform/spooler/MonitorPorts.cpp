#include "platform/spooler/MonitorPorts.h"

#include <cstring>

#include "platform/services/ModuleLoader.h"
#include "platform/spooler/LastError.h"
#include "platform/spooler/PortUse.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "platform/text/CaseInsensitive.h"

namespace plat {

namespace {

bool Fail(std::uint32_t error) {
    SetLastError(error);
    return false;
}

bool HasPort(const MonitorTable& monitor, const std::string& port) {
    for (const std::string& name : MonitorPortNames(monitor)) {
        if (EqualsNoCase(name, port)) {
            return true;
        }
    }
    return false;
}

std::string PortAdapter(const StoreKeyHandle* map, const std::string& port) {
    const auto key = map != nullptr ? StoreKeyHandle::Open(map->Get(), port.c_str()) : std::nullopt;
    return key ? key->ReadText("MAC Address").value_or("") : "";
}

}  // namespace

std::vector<std::string> MonitorPortNames(const MonitorTable& monitor) {
    std::uint32_t needed = 0;
    std::uint32_t count = 0;
    monitor.EnumPorts(nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<std::uint8_t> buffer(needed);
    std::vector<std::string> names;
    if (needed == 0 || !monitor.EnumPorts(nullptr, 1, buffer.data(), needed, &needed, &count)) {
        return names;
    }
    const auto* records = reinterpret_cast<const PortInfo1*>(buffer.data());
    for (std::uint32_t i = 0; i < count; ++i) {
        names.emplace_back(records[i].name);
    }
    return names;
}

const MonitorTable* LoadMonitor(const char* monitorName) {
    if (monitorName == nullptr || std::strcmp(monitorName, kMonitorName) != 0) {
        return nullptr;
    }
    struct Loaded {
        ModuleHandle library = nullptr;
        MonitorTable table{};
        bool started = false;
    };
    static const Loaded monitor = [] {
        Loaded loaded;
        MapModuleName("Dalvor.dll", "libdalvor.so");
        loaded.library = LoadModule("Dalvor.dll");
        using Initialize = MonitorBool (*)(const char*, MonitorTable*);
        const auto initialize =
            loaded.library != nullptr
                ? reinterpret_cast<Initialize>(ModuleSymbol(loaded.library, "InitializeMonitorEx"))
                : nullptr;
        loaded.started = initialize != nullptr && initialize(nullptr, &loaded.table) != 0;
        return loaded;
    }();
    return monitor.started ? &monitor.table : nullptr;
}

bool EnumMonitorPorts(std::vector<MonitorPort>& ports) {
    const MonitorTable* monitor = LoadMonitor(kMonitorName);
    if (monitor == nullptr) {
        return Fail(kErrorMonitorUnavailable);
    }
    std::vector<PrinterDevice> queues;
    if (!EnumPrinters(queues)) {
        return Fail(kErrorSpoolerUnavailable);
    }
    const auto map = StoreKeyHandle::Open(kStoreLocalMachine, kAdapterPortsKey);
    ports.clear();
    for (const std::string& name : MonitorPortNames(*monitor)) {
        MonitorPort port{name, PortAdapter(map ? &*map : nullptr, name), {}};
        for (const PrinterDevice& queue : queues) {
            if (PrintsToPort(queue, name)) {
                port.printers.push_back(queue.name);
            }
        }
        ports.push_back(std::move(port));
    }
    return true;
}

bool ConfigurePort(const char* server, std::uint32_t window, const char* portName) {
    const MonitorTable* monitor = LoadMonitor(kMonitorName);
    if (monitor == nullptr) {
        return Fail(kErrorMonitorUnavailable);
    }
    return monitor->ConfigurePort(server, window, portName) != 0;
}

bool DeletePort(const char* server, std::uint32_t window, const char* portName) {
    const MonitorTable* monitor = LoadMonitor(kMonitorName);
    if (monitor == nullptr) {
        return Fail(kErrorMonitorUnavailable);
    }
    const std::string port = portName != nullptr ? portName : "";
    if (!HasPort(*monitor, port)) {
        return Fail(kErrorUnknownPort);
    }
    PortUse use;
    if (!GetPortUse(port, use)) {
        return Fail(kErrorSpoolerUnavailable);
    }
    if (use.printing + use.waiting > 0) {
        return Fail(kErrorBusy);
    }
    // The queues first: a step that fails leaves a port without a queue, which can be deleted again,
    // never a queue that prints to nothing.
    for (const std::string& printer : use.printers) {
        if (!DeletePrinter(printer)) {
            return Fail(kErrorCannotWrite);
        }
    }
    return monitor->DeletePort(server, window, port.c_str()) != 0;
}

}  // namespace plat
