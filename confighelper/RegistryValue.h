#pragma once

#include <cstdint>

#include "confighelper/HelperResult.h"
#include "platform/store/ConfigStore.h"

// The two registry helpers of the library's exports that hand values to and from a caller's buffer
// as they stand. Neither changes the caller's data. Other reads and writes use plat::StoreKeyHandle.

// Reads a value of any type into buffer; size is in: the buffer's size, out: the value's size.
// 0, or kHelperStoreFailed when the key cannot be opened for reading or the value cannot be read
// (missing, or larger than the buffer).
HelperResult ReadRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName, void* buffer,
                               std::uint32_t* size);

// Creates or opens the key and stores exactly `length` bytes. A text is always stored terminated: its
// byte at length - 1 is stored as 0 (on a copy). 0 or kHelperStoreFailed.
HelperResult WriteRegistryValue(plat::StoreKey root, const char* subKey, const char* valueName,
                                const void* data, std::uint32_t length, plat::StoreValueType type);
