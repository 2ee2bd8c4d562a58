#pragma once

#include <cstdint>

// The configuration store: a tree of keys with typed values, kept in one SQLite file (named by
// VORLANE_REGISTRY) that every program of the suite shares. Keys are backslash paths; key and value
// names compare without regard to case and keep the case they were created with.
namespace plat {

using StoreKey = std::uint32_t;  // 0 is never a valid key
using StoreResult = long;

// The one root the suite uses; its subkeys are created on demand.
constexpr StoreKey kStoreLocalMachine = 0x80000002u;

enum : StoreResult {
    kStoreOk = 0,
    kStoreNotFound = 2,
    kStoreAccessDenied = 5,
    kStoreInvalidHandle = 6,
    kStoreInvalidParameter = 87,
    kStoreMoreData = 234,
    kStoreNoMoreItems = 259,
    kStoreFailed = 1010,  // the store file could not be read or written
};

enum StoreValueType : std::uint32_t {
    kStoreValueNone = 0,
    kStoreValueText = 1,  // stored with its terminating zero
    kStoreValueBytes = 3,
    kStoreValueNumber = 4,  // 32 bits, little-endian
};

enum StoreAccess : std::uint32_t {
    kStoreRead = 1,
    kStoreReadWrite = 3,
};

// Opens an existing key (subKey may be empty or null: the same key again).
StoreResult StoreOpenKey(StoreKey parent, const char* subKey, StoreAccess access, StoreKey* result);
// Opens a key for reading and writing, creating it and any missing keys above it.
StoreResult StoreCreateKey(StoreKey parent, const char* subKey, StoreKey* result);
// type, data and size may each be null. size is in: the buffer's size; out: the value's size.
// A buffer too small copies nothing, sets size to what is needed and answers kStoreMoreData.
StoreResult StoreQueryValue(StoreKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size);
// A text value is stored as given: the caller counts the terminator in size.
StoreResult StoreSetValue(StoreKey key, const char* name, StoreValueType type, const void* data,
                          std::uint32_t size);
// Adds delta to a number value in one step that no other process can interleave with; a missing
// value counts as 0. The new value comes back in result when it is not null.
StoreResult StoreAddToNumber(StoreKey key, const char* name, std::int32_t delta, std::uint32_t* result);
// Subkeys and values by index, in a stable order (by name, without regard to case): a caller that
// deletes the entry it just read and steps the index back sees every other entry once.
// nameSize is in: the buffer's size; out: the name's length without the terminator.
StoreResult StoreEnumKey(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize);
StoreResult StoreEnumValue(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                           std::uint32_t* type, void* data, std::uint32_t* size);
StoreResult StoreDeleteValue(StoreKey key, const char* name);
// Deletes a key with its values and every key below it.
StoreResult StoreDeleteKey(StoreKey parent, const char* subKey);
StoreResult StoreFlushKey(StoreKey key);
StoreResult StoreCloseKey(StoreKey key);

}  // namespace plat
