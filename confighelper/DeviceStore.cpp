#include "confighelper/DeviceStore.h"

#include <cstring>
#include <string>

#include "confighelper/DeviceStoreLock.h"
#include "platform/store/ConfigStore.h"
#include "transport/DeviceStorePath.h"

namespace {

constexpr std::uint32_t kReportedCategoryBits = 3;

// A text field of the record, stored with its terminator; a field that lacks one is cut at its size.
template <std::size_t N>
bool WriteText(plat::StoreKey key, const char* name, const char (&field)[N]) {
    const std::string text(field, strnlen(field, N));
    return plat::StoreSetValue(key, name, plat::kStoreValueText, text.c_str(),
                               static_cast<std::uint32_t>(text.size() + 1)) == plat::kStoreOk;
}

bool WriteNumber(plat::StoreKey key, const char* name, std::uint32_t value) {
    return plat::StoreSetValue(key, name, plat::kStoreValueNumber, &value, sizeof value) == plat::kStoreOk;
}

bool ReadNumber(plat::StoreKey key, const char* name, std::uint32_t& value) {
    std::uint32_t size = sizeof value;
    return plat::StoreQueryValue(key, name, nullptr, &value, &size) == plat::kStoreOk && size == sizeof value;
}

// Sets the low two bits of "Category" by adding the difference, so that a port count that another
// process raises or lowers at the same moment is never lost. Under the DeviceStoreLock: between the
// read and the add no other writer of these bits may come.
bool SetReportedCategory(plat::StoreKey key, std::uint32_t category) {
    std::uint32_t present = 0;
    if (!ReadNumber(key, "Category", present)) {
        present = 0;
        if (!WriteNumber(key, "Category", 0)) {
            return false;
        }
    }
    const auto delta = static_cast<std::int32_t>(category & kReportedCategoryBits) -
                       static_cast<std::int32_t>(present & kReportedCategoryBits);
    return plat::StoreAddToNumber(key, "Category", delta, nullptr) == plat::kStoreOk;
}

// The values in the order the entry has always been written; the name's result is not looked at.
bool WriteEntry(plat::StoreKey key, const DeviceRecord& record) {
    const bool written =
        SetReportedCategory(key, record.category) && WriteNumber(key, "cProtocols", record.protocolMask) &&
        WriteText(key, "IP Address", record.ipAddress) && WriteText(key, "IPX Address", record.ipxAddress) &&
        WriteText(key, "MAC Address", record.macAddress) && WriteText(key, "DNS Name", record.dnsName) &&
        WriteNumber(key, "pProtocol", record.preferredProtocol) &&
        WriteText(key, "Print Server Description", record.printServerDescription);
    if (!written) {
        return false;
    }
    WriteText(key, "Print Server Name", record.printServerName);
    return WriteNumber(key, "Detected", 1);
}

// One subkey of AdapterOnly: kept without its discovery marks when a port uses it, else deleted.
// True when the entry was deleted.
bool PurgeEntry(plat::StoreKey adapters, const char* name) {
    plat::StoreKey entry = 0;
    if (plat::StoreOpenKey(adapters, name, plat::kStoreReadWrite, &entry) != plat::kStoreOk) {
        return false;
    }
    std::uint32_t category = 0;
    const bool readable = ReadNumber(entry, "Category", category);
    const bool usedByPort = (category & ~kReportedCategoryBits) != 0;
    if (readable && usedByPort) {
        SetReportedCategory(entry, 0);
        WriteNumber(entry, "Detected", 0);
    }
    plat::StoreCloseKey(entry);
    return readable && !usedByPort && plat::StoreDeleteKey(adapters, name) == plat::kStoreOk;
}

HelperResult WriteRecord(const DeviceRecord& record) {
    const std::string path = DeviceStoreEntryPath(record.macAddress);
    plat::StoreKey key = 0;
    if (path.empty() ||
        plat::StoreCreateKey(plat::kStoreLocalMachine, path.c_str(), &key) != plat::kStoreOk) {
        return kHelperStoreFailed;
    }
    const bool written = WriteEntry(key, record);
    plat::StoreCloseKey(key);
    return written ? kHelperOk : kHelperStoreFailed;
}

}  // namespace

HelperResult StoreDeviceRecord(const DeviceRecord& record) {
    const DeviceStoreLock lock;
    return WriteRecord(record);
}

void PurgeDeviceStore(const DeviceList* list) {
    const DeviceStoreLock lock;
    plat::StoreKey adapters = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, kAdapterOnlyKey, plat::kStoreReadWrite, &adapters) ==
        plat::kStoreOk) {
        char name[256];
        std::uint32_t index = 0;
        for (;;) {
            std::uint32_t nameSize = sizeof name;
            const plat::StoreResult result = plat::StoreEnumKey(adapters, index, name, &nameSize);
            if (result != plat::kStoreOk && result != plat::kStoreMoreData) {
                break;
            }
            // A name too long for the buffer is no adapter name of ours: step over it.
            if (result == plat::kStoreMoreData || !PurgeEntry(adapters, name)) {
                ++index;
            }
        }
        plat::StoreCloseKey(adapters);
    }
    if (list == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < list->GetCount(); ++i) {
        WriteRecord(*list->GetAt(i));
    }
}
