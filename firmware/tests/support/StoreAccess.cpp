#include "firmware/tests/support/StoreAccess.h"

#include "platform/store/ConfigStore.h"

namespace fendreltest {

namespace {

void SetValue(const char* key, const char* name, plat::StoreValueType type, const void* data,
              std::uint32_t size) {
    plat::StoreKey opened = 0;
    if (plat::StoreCreateKey(plat::kStoreLocalMachine, key, &opened) == plat::kStoreOk) {
        plat::StoreSetValue(opened, name, type, data, size);
        plat::StoreCloseKey(opened);
    }
}

}  // namespace

void SetStoreText(const char* key, const char* name, const std::string& value) {
    SetValue(key, name, plat::kStoreValueText, value.c_str(), static_cast<std::uint32_t>(value.size() + 1));
}

void SetStoreNumber(const char* key, const char* name, std::uint32_t value) {
    SetValue(key, name, plat::kStoreValueNumber, &value, sizeof value);
}

std::string StoreText(const char* key, const char* name) {
    plat::StoreKey opened = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, key, plat::kStoreRead, &opened) != plat::kStoreOk) {
        return {};
    }
    std::string text(256, '\0');
    std::uint32_t size = static_cast<std::uint32_t>(text.size());
    const bool read = plat::StoreQueryValue(opened, name, nullptr, text.data(), &size) == plat::kStoreOk;
    plat::StoreCloseKey(opened);
    return read ? text.substr(0, text.find('\0')) : std::string();
}

}  // namespace fendreltest
