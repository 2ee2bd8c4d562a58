#pragma once

#include <optional>
#include <string>

#include "platform/store/StoreKeyHandle.h"

// Where the device store keeps one print server: a subkey of plat::kAdapterOnlyKey named by its
// adapter name.
inline constexpr int kAdapterNameLength = 12;

// True for exactly 12 hexadecimal digits: the only names a store path is ever built from.
bool IsAdapterName(const char* name);

// The entry's key path below the local machine root; empty when the name is not an adapter name.
std::string DeviceStoreEntryPath(const char* adapterName);

// Opens the entry of an adapter name; nothing when the name is not one or the entry cannot be opened.
std::optional<plat::StoreKeyHandle> OpenDeviceStoreEntry(const char* adapterName,
                                                         plat::StoreAccess access = plat::kStoreRead);
