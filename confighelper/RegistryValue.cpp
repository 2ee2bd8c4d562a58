#include "confighelper/RegistryValue.h"

#include <vector>

HelperResult ReadRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName, void* buffer,
                               std::uint32_t* size) {
    plat::StoreKey key = 0;
    if (plat::StoreOpenKey(root, subKey, plat::kStoreRead, &key) != plat::kStoreOk) {
        return kHelperStoreFailed;
    }
    const plat::StoreResult result = plat::StoreQueryValue(key, valueName, nullptr, buffer, size);
    plat::StoreCloseKey(key);
    return result == plat::kStoreOk ? kHelperOk : kHelperStoreFailed;
}

HelperResult WriteRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName,
                                const void* data, std::uint32_t length, plat::StoreValueType type) {
    plat::StoreKey key = 0;
    if (plat::StoreCreateKey(root, subKey, &key) != plat::kStoreOk) {
        return kHelperStoreFailed;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> text;
    if (type == plat::kStoreValueText && length > 0) {
        text.assign(bytes, bytes + length);
        text.back() = 0;
        bytes = text.data();
    }
    const plat::StoreResult result = plat::StoreSetValue(key, valueName, type, bytes, length);
    plat::StoreCloseKey(key);
    return result == plat::kStoreOk ? kHelperOk : kHelperStoreFailed;
}

bool ReadRegistryNumber(plat::StoreKey root, const char* subKey, const char* valueName,
                        std::uint32_t& value) {
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    if (ReadRegistryValue(root, subKey, valueName, &number, &size) != kHelperOk || size != sizeof number) {
        return false;
    }
    value = number;
    return true;
}

HelperResult WriteRegistryNumber(plat::StoreKey root, const char* subKey, const char* valueName,
                                 std::uint32_t value) {
    return WriteRegistryValue(root, subKey, valueName, &value, sizeof value, plat::kStoreValueNumber);
}
