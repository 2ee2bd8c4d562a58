#pragma once

#include <string>

// Where the device store keeps one print server: a subkey of AdapterOnly named by its adapter name.
inline constexpr const char* kAdapterOnlyKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\AdapterOnly";
inline constexpr int kAdapterNameLength = 12;

// True for exactly 12 hexadecimal digits: the only names a store path is ever built from.
bool IsAdapterName(const char* name);

// The entry's key path below the local machine root; empty when the name is not an adapter name.
std::string DeviceStoreEntryPath(const char* adapterName);
