#include "tests/ConsoleStore.h"

#include "platform/store/ConfigStore.h"

namespace consoletest {

namespace {

constexpr std::uint32_t kLongestText = 1024;

bool WriteValue(const std::string& key, const char* name, plat::StoreValueType type, const void* data,
                std::uint32_t size) {
    plat::StoreKey opened = 0;
    if (plat::StoreCreateKey(plat::kStoreLocalMachine, key.c_str(), &opened) != plat::kStoreOk) {
        return false;
    }
    const bool written = plat::StoreSetValue(opened, name, type, data, size) == plat::kStoreOk;
    plat::StoreCloseKey(opened);
    return written;
}

// The value's bytes when it has the given type.
std::optional<std::string> ReadValue(const std::string& key, const char* name, std::uint32_t wantedType) {
    plat::StoreKey opened = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, key.c_str(), plat::kStoreRead, &opened) !=
        plat::kStoreOk) {
        return std::nullopt;
    }
    std::string data(kLongestText, '\0');
    std::uint32_t size = kLongestText;
    std::uint32_t type = 0;
    const bool read = plat::StoreQueryValue(opened, name, &type, data.data(), &size) == plat::kStoreOk;
    plat::StoreCloseKey(opened);
    if (!read || type != wantedType) {
        return std::nullopt;
    }
    data.resize(size);
    return data;
}

}  // namespace

std::string DeviceEntryKey(const std::string& adapter) {
    return std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
}

bool WriteStoreNumber(const std::string& key, const char* name, std::uint32_t value) {
    return WriteValue(key, name, plat::kStoreValueNumber, &value, sizeof value);
}

bool WriteStoreText(const std::string& key, const char* name, const std::string& text) {
    return WriteValue(key, name, plat::kStoreValueText, text.c_str(),
                      static_cast<std::uint32_t>(text.size() + 1));
}

std::optional<std::uint32_t> ReadStoreNumber(const std::string& key, const char* name) {
    const std::optional<std::string> data = ReadValue(key, name, plat::kStoreValueNumber);
    if (!data || data->size() != sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    data->copy(reinterpret_cast<char*>(&value), sizeof value);
    return value;
}

std::optional<std::string> ReadStoreText(const std::string& key, const char* name) {
    std::optional<std::string> data = ReadValue(key, name, plat::kStoreValueText);
    if (data && !data->empty() && data->back() == '\0') {
        data->pop_back();
    }
    return data;
}

std::vector<std::string> SubkeyNames(const std::string& key) {
    std::vector<std::string> names;
    plat::StoreKey opened = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, key.c_str(), plat::kStoreRead, &opened) !=
        plat::kStoreOk) {
        return names;
    }
    char name[256];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = sizeof name;
        if (plat::StoreEnumKey(opened, i, name, &size) != plat::kStoreOk) {
            break;
        }
        names.emplace_back(name, size);
    }
    plat::StoreCloseKey(opened);
    return names;
}

void DeleteStoreKey(const std::string& key) {
    plat::StoreDeleteKey(plat::kStoreLocalMachine, key.c_str());
}

}  // namespace consoletest
