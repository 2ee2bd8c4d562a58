#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/StoreConnection.h"
#include "platform/store/StoreKeyPath.h"

namespace plat {

// A key's row in the store file; ids are never reused, so a stale id names no key.
using StoreKeyId = std::int64_t;
inline constexpr StoreKeyId kStoreRootId = 1;

// The largest value the store keeps; settings are small, and a size past this in the file is damage.
inline constexpr std::uint32_t kStoreMaxValueSize = 1u << 20;

inline bool IsStoreValueType(std::int64_t type) {
    return type == kStoreValueNone || type == kStoreValueText || type == kStoreValueBytes ||
           type == kStoreValueNumber;
}

// The tree of keys and values in SQL: every operation by key id, answering the store's result codes.
// Whatever comes back from the file is checked before it is handed on (kStoreFailed otherwise).
class StoreTree {
  public:
    static std::unique_ptr<StoreConnection> OpenFile(const std::string& path);

    explicit StoreTree(StoreConnection& connection) : connection_(connection) {}

    StoreResult FindKey(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found);
    // Creates the missing keys of the path in one transaction.
    StoreResult CreateKey(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* created);
    // Deletes the key at the path below `from` with everything under it.
    StoreResult DeleteKey(StoreKeyId from, const StoreKeyPath& path);

    StoreResult ReadValue(StoreKeyId key, std::string_view name, StoredValue* value);
    StoreResult WriteValue(StoreKeyId key, std::string_view name, StoreValueType type,
                           std::span<const std::uint8_t> data);
    StoreResult AddToNumber(StoreKeyId key, std::string_view name, std::int32_t delta, std::uint32_t* result);
    StoreResult DeleteValue(StoreKeyId key, std::string_view name);

    // Entries by position in name order (without regard to case); kStoreNoMoreItems past the end.
    StoreResult SubkeyAt(StoreKeyId key, std::uint32_t index, std::string* name);
    // All subkey names in that order, in one pass.
    StoreResult SubkeyNames(StoreKeyId key, std::vector<std::string>* names);
    // At most `most` subkeys in that order whose names come after `after`, with their ids and values
    // (a query for the subkeys and one for each subkey's values: as one moment only inside a
    // transaction).
    StoreResult Subkeys(StoreKeyId key, std::string_view after, std::uint32_t most,
                        std::vector<std::pair<StoreKeyId, StoreSubkeyValues>>* subkeys);
    StoreResult ValueAt(StoreKeyId key, std::uint32_t index, std::string* name, StoredValue* value);

    // Moves what the write-ahead log holds into the file proper.
    StoreResult Checkpoint();

  private:
    StoreResult KeyExists(StoreKeyId key);
    // Every value of the key, in name order.
    StoreResult KeyValues(StoreKeyId key, std::vector<std::pair<std::string, StoredValue>>* values);
    StoreResult FindChild(StoreKeyId parent, std::string_view name, StoreKeyId* child);
    StoreResult FindPath(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found);
    StoreResult EndOfList(StoreKeyId key);

    StoreConnection& connection_;
};

}  // namespace plat
