#pragma once

#include <cstdint>
#include <string>

// The store values the console sets for the server and reads back from it.
namespace fendreltest {

void SetStoreText(const char* key, const char* name, const std::string& value);
void SetStoreNumber(const char* key, const char* name, std::uint32_t value);
// The text up to its first zero; empty when the value cannot be read.
std::string StoreText(const char* key, const char* name);

}  // namespace fendreltest
