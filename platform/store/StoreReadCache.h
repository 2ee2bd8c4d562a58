#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/store/StoreTree.h"

namespace plat {

// The store's reads kept while its generation (StoreGeneration) stays where it was: which key a path
// leads to and what a value holds, found or not. Every read goes through here to the tree; what the
// tree answers is kept only while a generation is followed. Not thread-safe: used under the store's
// lock.
class StoreReadCache {
  public:
    // Called before every read with the generation as it is now: when it moved, or there is none,
    // everything kept is forgotten.
    void Follow(std::optional<std::uint64_t> generation);

    StoreResult FindKey(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found);
    // On kStoreOk *value points at the value read, valid until the next call: a kept read is not copied.
    StoreResult ReadValue(StoreTree& tree, StoreKeyId key, std::string_view name, const StoredValue** value);

  private:
    template <typename Kept>
    using Reads = std::unordered_map<std::string, std::pair<StoreResult, Kept>>;

    // Starts the name of a read in name_: the key's id, then the names appended to it.
    void NameFrom(StoreKeyId key);
    void AppendFolded(std::string_view name);
    template <typename Kept, typename Read>
    StoreResult ReadThrough(Reads<Kept>& reads, Kept& fresh, const Kept** out, Read read);
    void Forget();

    std::optional<std::uint64_t> generation_;
    std::string name_;  // reused, so that a kept read costs no allocation
    Reads<StoreKeyId> keys_;
    Reads<StoredValue> values_;
    // What the tree answered for a read that is not kept.
    StoreKeyId freshKey_ = 0;
    StoredValue freshValue_;
};

}  // namespace plat
