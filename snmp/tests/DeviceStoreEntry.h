#pragma once

// The device store entry and SNMP settings that the library reads, written as the configuration
// helper writes them, for tests that reach a print server by its adapter name.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/store/ConfigStore.h"
#include "platform/store/StorePaths.h"

namespace snmp::test {

struct DeviceEntry {
    std::string adapterName;  // also the "MAC Address"
    std::string ip;
    std::string ipx;                             // 20 hex digits, or empty
    std::uint32_t protocols = 2;                 // "cProtocols"
    std::optional<std::uint32_t> preferred = 2;  // "pProtocol"; none: not written
};

inline void SetNumber(const char* keyPath, const char* name, std::optional<std::uint32_t> value) {
    plat::StoreKey key = 0;
    if (plat::StoreCreateKey(plat::kStoreLocalMachine, keyPath, &key) != plat::kStoreOk) {
        return;
    }
    if (value) {
        plat::StoreSetValue(key, name, plat::kStoreValueNumber, &*value, sizeof *value);
    } else {
        plat::StoreDeleteValue(key, name);
    }
    plat::StoreCloseKey(key);
}

inline void SetText(const char* keyPath, const char* name, const std::string& text) {
    plat::StoreKey key = 0;
    if (plat::StoreCreateKey(plat::kStoreLocalMachine, keyPath, &key) == plat::kStoreOk) {
        plat::StoreSetValue(key, name, plat::kStoreValueText, text.c_str(),
                            static_cast<std::uint32_t>(text.size() + 1));
        plat::StoreCloseKey(key);
    }
}

inline void WriteDeviceEntry(const DeviceEntry& entry) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + entry.adapterName;
    plat::StoreDeleteKey(plat::kStoreLocalMachine, path.c_str());
    SetText(path.c_str(), "MAC Address", entry.adapterName);
    SetText(path.c_str(), "IP Address", entry.ip);
    SetText(path.c_str(), "IPX Address", entry.ipx);
    SetNumber(path.c_str(), "cProtocols", entry.protocols);
    SetNumber(path.c_str(), "pProtocol", entry.preferred);
}

// The answer wait in seconds and the rounds after the first; none: the setting is removed.
inline void WriteExchangeSettings(std::optional<std::uint32_t> timeOutSeconds,
                                  std::optional<std::uint32_t> retries) {
    SetNumber(plat::kSnmpKey, "UdpTimeOutInterval", timeOutSeconds);
    SetNumber(plat::kSnmpKey, "UdpTotalRetries", retries);
}

}  // namespace snmp::test
