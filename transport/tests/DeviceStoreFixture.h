#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/store/ConfigStore.h"
#include "platform/store/StorePaths.h"
#include "transport/DeviceStorePath.h"

// A device store entry written the way the configuration helper writes it; a value left empty
// (nullopt) is not written.
struct EntryValues {
    std::optional<std::uint32_t> protocols = 2;
    std::optional<std::uint32_t> preferred = 2;
    std::optional<std::string> ip = "127.0.0.1";
    std::optional<std::string> ipx = "";
    std::optional<std::string> mac{std::in_place};  // empty: the adapter name
};

class DeviceStoreFixture : public ::testing::Test {
  protected:
    // Every test starts from an empty device store.
    void SetUp() override { plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey); }

    static std::string EntryPath(const std::string& name) {
        return std::string(plat::kAdapterOnlyKey) + "\\" + name;
    }

    static plat::StoreKey CreateEntry(const std::string& name) {
        plat::StoreKey key = 0;
        EXPECT_EQ(plat::StoreCreateKey(plat::kStoreLocalMachine, EntryPath(name).c_str(), &key),
                  plat::kStoreOk);
        return key;
    }

    static void WriteEntry(const std::string& name, const EntryValues& values) {
        plat::StoreDeleteKey(plat::kStoreLocalMachine, EntryPath(name).c_str());
        const plat::StoreKey key = CreateEntry(name);
        auto number = [&](const char* valueName, const std::optional<std::uint32_t>& value) {
            if (value) {
                plat::StoreSetValue(key, valueName, plat::kStoreValueNumber, &*value, sizeof *value);
            }
        };
        auto text = [&](const char* valueName, const std::optional<std::string>& value) {
            if (value) {
                plat::StoreSetValue(key, valueName, plat::kStoreValueText, value->c_str(),
                                    static_cast<std::uint32_t>(value->size() + 1));
            }
        };
        number("cProtocols", values.protocols);
        number("pProtocol", values.preferred);
        text("IP Address", values.ip);
        text("IPX Address", values.ipx);
        text("MAC Address",
             values.mac && values.mac->empty() ? std::optional<std::string>(name) : values.mac);
        plat::StoreCloseKey(key);
    }

    static void SetRawValue(const std::string& name, const char* valueName, plat::StoreValueType type,
                            const void* data, std::uint32_t size) {
        const plat::StoreKey key = CreateEntry(name);
        EXPECT_EQ(plat::StoreSetValue(key, valueName, type, data, size), plat::kStoreOk);
        plat::StoreCloseKey(key);
    }

    // The entry's "pProtocol"; nullopt when it has none.
    static std::optional<std::uint32_t> PreferredProtocol(const std::string& name) {
        plat::StoreKey key = 0;
        if (plat::StoreOpenKey(plat::kStoreLocalMachine, EntryPath(name).c_str(), plat::kStoreRead, &key) !=
            plat::kStoreOk) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        std::uint32_t size = sizeof value;
        const bool found = plat::StoreQueryValue(key, "pProtocol", nullptr, &value, &size) == plat::kStoreOk;
        plat::StoreCloseKey(key);
        return found ? std::optional<std::uint32_t>(value) : std::nullopt;
    }
};
