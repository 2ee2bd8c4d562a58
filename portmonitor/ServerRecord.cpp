#include "portmonitor/ServerRecord.h"

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

ServerRecord ReadRecord(const plat::StoreKeyHandle& entry) {
    ServerRecord record;
    record.name = entry.ReadText("Print Server Name");
    record.mac = entry.ReadText("MAC Address");
    record.ip = entry.ReadText("IP Address");
    record.ipx = entry.ReadText("IPX Address");
    record.description = entry.ReadText("Print Server Description");
    record.dnsName = entry.ReadText("DNS Name");
    record.pProtocol = entry.ReadNumber("pProtocol").value_or(0);
    record.cProtocols = entry.ReadNumber("cProtocols").value_or(0);
    record.category = entry.ReadNumber("Category").value_or(0);
    return record;
}

}  // namespace

std::optional<ServerRecord> ReadServerRecord(const std::string& adapterName) {
    if (adapterName.empty() || adapterName.find('\\') != std::string::npos) {
        return std::nullopt;
    }
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapterName;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    if (!entry) {
        return std::nullopt;
    }
    return ReadRecord(*entry);
}

std::vector<ServerRecord> LoadServerList() {
    std::vector<ServerRecord> list;
    std::optional<plat::StoreKeyHandle> store =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    if (!store) {
        return list;
    }
    for (const std::string& adapter : store->SubkeyNames()) {
        std::optional<ServerRecord> record = ReadServerRecord(adapter);
        if (record && record->Offered()) {
            list.push_back(std::move(*record));
        }
    }
    return list;
}
