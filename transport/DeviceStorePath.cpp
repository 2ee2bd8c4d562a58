#include "transport/DeviceStorePath.h"

#include "transport/HexCodec.h"

bool IsAdapterName(const char* name) {
    return IsHexText(name, kAdapterNameLength) && name[kAdapterNameLength] == '\0';
}

std::string DeviceStoreEntryPath(const char* adapterName) {
    if (!IsAdapterName(adapterName)) {
        return {};
    }
    return std::string(kAdapterOnlyKey) + "\\" + adapterName;
}
