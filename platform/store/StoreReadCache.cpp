#include "platform/store/StoreReadCache.h"

#include <charconv>

namespace plat {

namespace {

// Enough for every entry the console reads in a round of thousands of print servers; past it the
// reads start over, so that a long run holds no more.
constexpr std::size_t kMostKept = 50000;

}  // namespace

void StoreReadCache::Follow(std::optional<std::uint64_t> generation) {
    if (!generation || generation != generation_) {
        Forget();
    }
    generation_ = generation;
}

void StoreReadCache::Forget() {
    keys_.clear();
    values_.clear();
}

void StoreReadCache::NameFrom(StoreKeyId key) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, key).ptr;
    name_.assign(digits, static_cast<std::size_t>(end - digits));
    name_ += '\\';
}

// Names compare as the store compares them: without regard to ASCII case.
void StoreReadCache::AppendFolded(std::string_view name) {
    const std::size_t start = name_.size();
    name_.append(name);
    for (std::size_t i = start; i < name_.size(); ++i) {
        if (name_[i] >= 'A' && name_[i] <= 'Z') {
            name_[i] = static_cast<char>(name_[i] - 'A' + 'a');
        }
    }
}

template <typename Kept, typename Read>
StoreResult StoreReadCache::ReadThrough(Reads<Kept>& reads, Kept* out, Read read) {
    if (const auto kept = reads.find(name_); kept != reads.end()) {
        if (kept->second.first == kStoreOk) {
            *out = kept->second.second;
        }
        return kept->second.first;
    }
    Kept fresh{};
    const StoreResult result = read(&fresh);
    // Failures are not kept: the next read tries again.
    if (generation_ && (result == kStoreOk || result == kStoreNotFound)) {
        if (keys_.size() + values_.size() >= kMostKept) {
            Forget();
        }
        reads.emplace(name_, std::pair(result, fresh));
    }
    if (result == kStoreOk) {
        *out = std::move(fresh);
    }
    return result;
}

StoreResult StoreReadCache::FindKey(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path,
                                    StoreKeyId* found) {
    NameFrom(from);
    for (std::string_view part : path.Names()) {
        AppendFolded(part);
        name_ += '\\';
    }
    return ReadThrough(keys_, found, [&](StoreKeyId* key) { return tree.FindKey(from, path, key); });
}

StoreResult StoreReadCache::ReadValue(StoreTree& tree, StoreKeyId key, std::string_view name,
                                      StoredValue* value) {
    NameFrom(key);
    AppendFolded(name);
    return ReadThrough(values_, value, [&](StoredValue* read) { return tree.ReadValue(key, name, read); });
}

}  // namespace plat
