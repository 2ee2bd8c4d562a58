#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/store/StorePaths.h"

// The console's reads and writes of the store that it shares with the libraries (keys below the
// local machine root).
namespace consoletest {

// The device store entry of one print server.
std::string DeviceEntryKey(const std::string& adapter);

bool WriteStoreNumber(const std::string& key, const char* name, std::uint32_t value);
bool WriteStoreText(const std::string& key, const char* name, const std::string& text);
std::optional<std::uint32_t> ReadStoreNumber(const std::string& key, const char* name);
std::optional<std::string> ReadStoreText(const std::string& key, const char* name);
// The names of a key's subkeys in the store's order; none when the key is missing.
std::vector<std::string> SubkeyNames(const std::string& key);
// Deletes a key with everything below it.
void DeleteStoreKey(const std::string& key);

}  // namespace consoletest
