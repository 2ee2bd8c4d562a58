#include "confighelper/RegistryValue.h"

#include <string>

#include "platform/store/StoreKeyHandle.h"

HelperResult ReadRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName, void* buffer,
                               std::uint32_t* size) {
    const auto key = plat::StoreKeyHandle::Open(root, subKey);
    if (!key || plat::StoreQueryValue(key->Get(), valueName, nullptr, buffer, size) != plat::kStoreOk) {
        return kHelperStoreFailed;
    }
    return kHelperOk;
}

HelperResult WriteRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName,
                                const void* data, std::uint32_t length, plat::StoreValueType type) {
    const auto key = plat::StoreKeyHandle::Create(root, subKey);
    if (!key) {
        return kHelperStoreFailed;
    }
    // The text's first length - 1 bytes and a terminator: exactly `length` bytes.
    const plat::StoreResult result =
        type == plat::kStoreValueText && length > 0
            ? key->WriteText(valueName, std::string(static_cast<const char*>(data), length - 1))
            : plat::StoreSetValue(key->Get(), valueName, type, data, length);
    return result == plat::kStoreOk ? kHelperOk : kHelperStoreFailed;
}
