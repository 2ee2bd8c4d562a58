#include "platform/store/StoreReadCache.h"

#include <charconv>
#include <thread>

namespace plat {

namespace {

// Enough for every read the console keeps in a round of ten thousand print servers, some twelve each
// (the entry's ten values and its key by two paths), with room to spare; past it the reads start over,
// so that a long run holds no more. (At 50,000 a site of ten thousand started over mid-round, and its
// status poll's sixteen threads queued for the store's reads of the file.)
constexpr std::size_t kMostKept = 250000;
constexpr std::size_t kFreedAside = 10000;

}  // namespace

void StoreReadCache::Follow(std::optional<std::uint64_t> generation) {
    if (!generation || generation != generation_) {
        Forget();
    }
    generation_ = generation;
}

// Fresh tables rather than a clear: a clear keeps the buckets and zeroes every one of them, so that
// after a round of thousands of reads each write (which moves the generation on) paid for all of them.
// Many reads are let go on a thread of their own: freeing the hundred thousand of a round took the
// console's thread some fifty milliseconds, in the middle of a detection.
void StoreReadCache::Forget() {
    if (keys_.size() + values_.size() >= kFreedAside) {
        std::thread([keys = std::move(keys_), values = std::move(values_)] {}).detach();
        keys_ = {};
        values_ = {};
        return;
    }
    if (!keys_.empty()) {
        Reads<StoreKeyId>().swap(keys_);
    }
    if (!values_.empty()) {
        Reads<StoredValue>().swap(values_);
    }
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
    name_.resize(start + name.size());
    // Through a plain pointer: writes through name_[i] could change the string itself, as far as the
    // compiler knows, and it would look up its buffer again for every character.
    char* folded = name_.data() + start;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        *folded++ = static_cast<char>(byte + (static_cast<unsigned char>(byte - 'A') < 26 ? 'a' - 'A' : 0));
    }
}

template <typename Kept>
const Kept* StoreReadCache::Keep(Reads<Kept>& reads, StoreResult result, Kept& read) {
    // Failures are not kept: the next read tries again.
    if (!generation_ || (result != kStoreOk && result != kStoreNotFound)) {
        return nullptr;
    }
    if (keys_.size() + values_.size() >= kMostKept) {
        Forget();
    }
    auto& kept = reads[name_];
    kept = std::pair(result, std::move(read));
    return &kept.second;
}

void StoreReadCache::NamePath(StoreKeyId from, const StoreKeyPath& path) {
    NameFrom(from);
    for (std::string_view part : path.Names()) {
        AppendFolded(part);
        name_ += '\\';
    }
}

StoreResult StoreReadCache::FindKey(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path,
                                    StoreKeyId* found) {
    NamePath(from, path);
    if (const auto kept = keys_.find(name_); kept != keys_.end()) {
        *found = kept->second.second;
        return kept->second.first;
    }
    StoreKeyId key = 0;
    const StoreResult result = FindFromTree(tree, from, path, &key);
    NamePath(from, path);  // the parent's search named its own reads
    Keep(keys_, result, key);
    if (result == kStoreOk) {
        *found = key;
    }
    return result;
}

StoreResult StoreReadCache::FindFromTree(StoreTree& tree, StoreKeyId from, const StoreKeyPath& path,
                                         StoreKeyId* found) {
    if (path.Empty() || path.Parent().Empty()) {
        return tree.FindKey(from, path, found);
    }
    StoreKeyId parent = 0;
    const StoreResult up = FindKey(tree, from, path.Parent(), &parent);
    return up == kStoreOk ? FindKey(tree, parent, path.Leaf(), found) : up;
}

StoreResult StoreReadCache::ReadValue(StoreTree& tree, StoreKeyId key, std::string_view name,
                                      const StoredValue** value) {
    NameFrom(key);
    AppendFolded(name);
    if (const auto kept = values_.find(name_); kept != values_.end()) {
        *value = &kept->second.second;
        return kept->second.first;
    }
    freshValue_ = StoredValue{};
    const StoreResult result = tree.ReadValue(key, name, &freshValue_);
    const StoredValue* kept = Keep(values_, result, freshValue_);
    *value = kept != nullptr ? kept : &freshValue_;
    return result;
}

void StoreReadCache::KeepKey(StoreKeyId parent, std::string_view name, StoreKeyId key) {
    NameFrom(parent);
    AppendFolded(name);
    name_ += '\\';
    Keep(keys_, kStoreOk, key);
}

void StoreReadCache::KeepValue(StoreKeyId key, std::string_view name, StoredValue value) {
    NameFrom(key);
    AppendFolded(name);
    Keep(values_, kStoreOk, value);
}

}  // namespace plat
