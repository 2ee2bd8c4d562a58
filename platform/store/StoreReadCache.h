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

    // A path of several names that is not kept is found through its parent, kept or found so: the
    // subkeys of one key, each opened by its whole path, cost a query each rather than one per name.
    StoreResult FindKey(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found);
    // On kStoreOk *value points at the value read, valid until the next call: a kept read is not copied.
    StoreResult ReadValue(StoreTree& tree, StoreKeyId key, std::string_view name, const StoredValue** value);

    // What a read of the tree made in another way found, kept as these reads keep theirs: the key
    // named `name` below `parent`, and a value of a key.
    void KeepKey(StoreKeyId parent, std::string_view name, StoreKeyId key);
    void KeepValue(StoreKeyId key, std::string_view name, StoredValue value);

  private:
    template <typename Kept>
    using Reads = std::unordered_map<std::string, std::pair<StoreResult, Kept>>;

    // Starts the name of a read in name_: the key's id, then the names appended to it.
    void NameFrom(StoreKeyId key);
    void AppendFolded(std::string_view name);
    void NamePath(StoreKeyId from, const StoreKeyPath& path);
    StoreResult FindFromTree(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found);
    // Keeps what a read under name_ answered (moved from `read`) when it may be kept; where it is
    // kept, or null.
    template <typename Kept>
    const Kept* Keep(Reads<Kept>& reads, StoreResult result, Kept& read);
    void Forget();

    std::optional<std::uint64_t> generation_;
    std::string name_;  // reused, so that a kept read costs no allocation
    Reads<StoreKeyId> keys_;
    Reads<StoredValue> values_;
    StoredValue freshValue_;  // what the tree answered for a value read that is not kept
};

}  // namespace plat
