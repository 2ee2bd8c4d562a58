#include "portmonitor/PortStore.h"

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

constexpr const char* kMacAddress = "MAC Address";
constexpr const char* kTransport = "Transport";

bool UsableName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

std::string PortPath(const std::string& portName) {
    return std::string(plat::kAdapterPortsKey) + "\\" + portName;
}

std::optional<plat::StoreKeyHandle> OpenPort(const std::string& portName,
                                             plat::StoreAccess access = plat::kStoreRead) {
    if (!UsableName(portName)) {
        return std::nullopt;
    }
    return plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, PortPath(portName).c_str(), access);
}

}  // namespace

std::vector<std::pair<std::string, ServerRecord>> ReadPortEntries() {
    std::vector<std::pair<std::string, ServerRecord>> ports;
    std::optional<plat::StoreKeyHandle> map =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    if (!map) {
        return ports;
    }
    for (const std::string& portName : map->SubkeyNames()) {
        std::optional<std::string> adapter = PortAdapter(portName);
        std::optional<ServerRecord> record = adapter ? ReadServerRecord(*adapter) : std::nullopt;
        if (record && record->Complete()) {
            ports.emplace_back(portName, std::move(*record));
        }
    }
    return ports;
}

std::optional<std::string> PortAdapter(const std::string& portName) {
    std::optional<plat::StoreKeyHandle> port = OpenPort(portName);
    return port ? port->ReadText(kMacAddress) : std::nullopt;
}

bool AdjustCategory(const std::string& adapterName, int mode) {
    if ((mode != 0 && mode != 1) || !UsableName(adapterName)) {
        return false;
    }
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapterName;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str(), plat::kStoreReadWrite);
    std::optional<std::uint32_t> category = entry ? entry->ReadNumber("Category") : std::nullopt;
    if (!category) {
        return false;
    }
    if (mode == 0 && *category < 4) {
        return true;
    }
    return entry->AddToNumber("Category", mode == 1 ? 4 : -4) == plat::kStoreOk;
}

bool SavePortEntry(const ServerRecord& record, const std::string& portName, bool configure) {
    if (!record.mac || !UsableName(portName)) {
        return false;
    }
    const std::optional<std::string> previous = configure ? PortAdapter(portName) : std::nullopt;
    // The new count first: when it cannot be raised nothing else has changed.
    if (!AdjustCategory(*record.mac, 1)) {
        return false;
    }
    std::optional<plat::StoreKeyHandle> port =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, PortPath(portName).c_str());
    if (!port || port->WriteText(kMacAddress, *record.mac) != plat::kStoreOk) {
        AdjustCategory(*record.mac, 0);
        return false;
    }
    if (previous) {
        AdjustCategory(*previous, 0);
    }
    return true;
}

bool DeletePortKey(const std::string& portName) {
    std::optional<plat::StoreKeyHandle> map =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey, plat::kStoreReadWrite);
    return map && UsableName(portName) &&
           plat::StoreDeleteKey(map->Get(), portName.c_str()) == plat::kStoreOk;
}

bool DeletePortEntry(const std::string& portName) {
    const std::optional<std::string> adapter = PortAdapter(portName);
    if (!adapter || !DeletePortKey(portName)) {
        return false;
    }
    return AdjustCategory(*adapter, 0);
}

std::optional<std::uint8_t> ReadPortTransport(const std::string& portName) {
    std::optional<plat::StoreKeyHandle> port = OpenPort(portName);
    std::optional<std::uint32_t> transport = port ? port->ReadNumber(kTransport) : std::nullopt;
    if (!transport || (*transport != 1 && *transport != 2 && *transport != 4)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*transport);
}

void WritePortTransport(const std::string& portName, std::uint8_t transport) {
    // Every connect comes here: a write of the same value would still make every process that keeps
    // store reads read again.
    if (ReadPortTransport(portName) == transport) {
        return;
    }
    std::optional<plat::StoreKeyHandle> port = OpenPort(portName, plat::kStoreReadWrite);
    if (port) {
        port->WriteNumber(kTransport, transport);
    }
}
