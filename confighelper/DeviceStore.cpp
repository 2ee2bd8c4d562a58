#include "confighelper/DeviceStore.h"

#include <cstring>
#include <optional>
#include <string>

#include "confighelper/DeviceStoreLock.h"
#include "platform/store/StoreBatch.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "platform/window/Window.h"
#include "transport/DeviceStorePath.h"

namespace {

constexpr std::uint32_t kReportedCategoryBits = 3;
// Entries purged or written between two calls of the host's idle hook: a few milliseconds' work.
constexpr std::size_t kEntriesBetweenPaints = 64;

// Lets the host paint now and then during a detection's long rewrite. The batch stays open meanwhile:
// nothing of it is committed before its end, so a program that dies on the way leaves the store as it
// was. (The purge of a library's clean-up paints nothing: the host is closing it.)
class PaintPace {
  public:
    explicit PaintPace(bool paints) : paints_(paints) {}
    void Step() {
        if (paints_ && ++entries_ % kEntriesBetweenPaints == 0) {
            plat::CallIdleHook();
        }
    }

  private:
    bool paints_;
    std::size_t entries_ = 0;
};

// A text field of the record, stored with its terminator; a field that lacks one is cut at its size.
template <std::size_t N>
bool WriteText(const plat::StoreKeyHandle& key, const char* name, const char (&field)[N]) {
    return key.WriteText(name, std::string(field, strnlen(field, N))) == plat::kStoreOk;
}

bool WriteNumber(const plat::StoreKeyHandle& key, const char* name, std::uint32_t value) {
    return key.WriteNumber(name, value) == plat::kStoreOk;
}

// Sets the low two bits of "Category" by adding the difference, so that a port count that another
// process raises or lowers at the same moment is never lost. Under the DeviceStoreLock: between the
// read and the add no other writer of these bits may come.
bool SetReportedCategory(const plat::StoreKeyHandle& key, std::uint32_t category) {
    const std::optional<std::uint32_t> present = key.ReadNumber("Category");
    if (!present && !WriteNumber(key, "Category", 0)) {
        return false;
    }
    const auto delta = static_cast<std::int32_t>(category & kReportedCategoryBits) -
                       static_cast<std::int32_t>(present.value_or(0) & kReportedCategoryBits);
    return key.AddToNumber("Category", delta) == plat::kStoreOk;
}

// The values in the order the entry has always been written; the name's result is not looked at.
bool WriteEntry(const plat::StoreKeyHandle& key, const DeviceRecord& record) {
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

// Clears the discovery marks of an entry that a port uses. True when no port uses the entry, so that
// it goes; an entry whose "Category" cannot be read stays as it is.
bool PrepareForPurge(const plat::StoreKeyHandle& adapters, const std::string& name) {
    const auto entry = plat::StoreKeyHandle::Open(adapters.Get(), name.c_str(), plat::kStoreReadWrite);
    const std::optional<std::uint32_t> category = entry ? entry->ReadNumber("Category") : std::nullopt;
    if (!category) {
        return false;
    }
    if ((*category & ~kReportedCategoryBits) == 0) {
        return true;
    }
    SetReportedCategory(*entry, 0);
    WriteNumber(*entry, "Detected", 0);
    return false;
}

HelperResult WriteRecord(const DeviceRecord& record) {
    const std::string path = DeviceStoreEntryPath(record.macAddress);
    const auto key =
        path.empty() ? std::nullopt : plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
    return key && WriteEntry(*key, record) ? kHelperOk : kHelperStoreFailed;
}

}  // namespace

HelperResult StoreDeviceRecord(const DeviceRecord& record) {
    const DeviceStoreLock lock;
    return WriteRecord(record);
}

void PurgeDeviceStore(const DeviceList* list) {
    const DeviceStoreLock lock;
    // Thousands of entries are written in one transaction, not a dozen each.
    const plat::StoreBatch batch;
    PaintPace pace(list != nullptr);
    if (const auto adapters = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey,
                                                         plat::kStoreReadWrite)) {
        for (const std::string& name : adapters->SubkeyNames()) {
            if (PrepareForPurge(*adapters, name)) {
                adapters->DeleteSubkey(name.c_str());
            }
            pace.Step();
        }
    }
    if (list == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < list->GetCount(); ++i) {
        WriteRecord(*list->GetAt(i));
        pace.Step();
    }
}
