#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// A value as the store holds it: a text with its terminating zero, a number as 4 bytes.
struct StoredValue {
    StoreValueType type = kStoreValueNone;
    std::string data;
};

// A subkey with every value it holds, by name, in the store's order of names.
struct StoreSubkeyValues {
    std::string name;
    std::vector<std::pair<std::string, StoredValue>> values;
};

enum StoreAccess : std::uint32_t {
    kStoreRead = 1,
    kStoreReadWrite = 3,
};

// Handles are numbers of this process. One opened with kStoreRead answers kStoreAccessDenied to every
// change (creating or deleting a subkey included); a closed or unknown one answers kStoreInvalidHandle;
// one whose key another handle or process deleted answers kStoreNotFound. kStoreFailed: the store
// file cannot be opened, read or written, or holds what the store never writes.
//
// Key paths are names joined by backslashes; an empty name (two backslashes in a row, a leading or
// trailing backslash) or a name over 255 characters is kStoreInvalidParameter. On failure *result is
// 0.

// Opens an existing key (subKey may be empty or null: the same key again).
StoreResult StoreOpenKey(StoreKey parent, const char* subKey, StoreAccess access, StoreKey* result);
// Opens a key for reading and writing, creating it and any missing keys above it. The parent handle
// must allow writing.
StoreResult StoreCreateKey(StoreKey parent, const char* subKey, StoreKey* result);
// type, data and size may each be null (data without size is kStoreInvalidParameter). size is in: the
// buffer's size; out: the value's size. A buffer too small copies nothing, sets size to what is
// needed and answers kStoreMoreData. A null or empty name is the key's default value.
StoreResult StoreQueryValue(StoreKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size);
// A text value is stored as given: the caller counts the terminator in size. A number must be 4
// bytes; a value may hold at most 1 MiB.
StoreResult StoreSetValue(StoreKey key, const char* name, StoreValueType type, const void* data,
                          std::uint32_t size);
// Adds delta to a number value in one step that no other process can interleave with; a missing
// value counts as 0, a value of another type is kStoreInvalidParameter. The number stays within 0 to
// 0xFFFFFFFF: an add that would leave that range changes nothing (so lowering a count below 0 is a
// no-op, not a wrap to a huge count). The value afterwards comes back in result when it is not null.
StoreResult StoreAddToNumber(StoreKey key, const char* name, std::int32_t delta, std::uint32_t* result);
// Subkeys and values by index, in a stable order (by name, without regard to case): a caller that
// deletes the entry it just read and steps the index back sees every other entry once.
// nameSize is in: the buffer's size; out: the name's length without the terminator (the buffer needs
// one more). When the name or the data does not fit, nothing is copied, both sizes and the type are
// reported and the answer is kStoreMoreData. Past the last entry: kStoreNoMoreItems.
StoreResult StoreEnumKey(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize);
// Every subkey name in that order at once (the enumeration by index costs a step per entry before it).
StoreResult StoreSubkeyNames(StoreKey key, std::vector<std::string>* names);
// At most `most` subkeys in that order whose names come after `after` ("" for the first), each with
// all its values, read at once: a walk that opens each subkey and queries each value costs a query
// apiece. Opening a subkey and reading one of these values again afterwards costs no query while the
// store stays unchanged. The reads of a walk in several steps are of one moment inside a batch.
StoreResult StoreReadSubkeys(StoreKey key, const char* after, std::uint32_t most,
                             std::vector<StoreSubkeyValues>* subkeys);
StoreResult StoreEnumValue(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                           std::uint32_t* type, void* data, std::uint32_t* size);
StoreResult StoreDeleteValue(StoreKey key, const char* name);
// Deletes a key with its values and every key below it; subKey must name one (not be empty). The
// parent handle must allow writing.
StoreResult StoreDeleteKey(StoreKey parent, const char* subKey);
// Writes what the store holds through to the file proper (every change is already visible to other
// processes, and survives the death of this one, without it).
StoreResult StoreFlushKey(StoreKey key);
StoreResult StoreCloseKey(StoreKey key);
// A batch: the process's store calls from StoreBeginBatch to StoreEndBatch run in one transaction,
// which holds the file's write lock throughout and is written once at its end (many writes for the
// price of one). Batches do not nest (kStoreInvalidParameter); calls of other threads in between
// become part of the batch. Use StoreBatch (StoreBatch.h).
StoreResult StoreBeginBatch();
StoreResult StoreEndBatch();
// How many changes the store has seen, counted by every process that shares it: while the count stays
// the same, every read answers as it did (see StoreKeptRead.h). Nothing when the store cannot be opened
// or cannot count.
std::optional<std::uint64_t> StoreChangeCount();

}  // namespace plat
