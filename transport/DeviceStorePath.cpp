#include "transport/DeviceStorePath.h"

#include "platform/store/StorePaths.h"
#include "transport/HexCodec.h"

bool IsAdapterName(const char* name) {
    return IsHexText(name, kAdapterNameLength) && name[kAdapterNameLength] == '\0';
}

std::string DeviceStoreEntryPath(const char* adapterName) {
    if (!IsAdapterName(adapterName)) {
        return {};
    }
    return std::string(plat::kAdapterOnlyKey) + "\\" + adapterName;
}

std::optional<plat::StoreKeyHandle> OpenDeviceStoreEntry(const char* adapterName, plat::StoreAccess access) {
    const std::string path = DeviceStoreEntryPath(adapterName);
    if (path.empty()) {
        return std::nullopt;
    }
    return plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str(), access);
}
