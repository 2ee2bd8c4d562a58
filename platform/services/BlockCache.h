#pragma once

// The per-thread cache of small memory blocks behind GlobalMemory.h, and the quick paths that take a
// block from it and give one back without a call: a decoded message makes and frees a score of
// blocks, and the call into this library cost as much as the work. Everything else (the first
// block of a size, full or closed caches, large blocks, misuse) goes to GlobalMemory.cpp.
#include <sanitizer/asan_interface.h>

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace plat::block_cache {

// Every block starts with this header; the caller's bytes follow it, aligned as malloc's are.
struct alignas(alignof(std::max_align_t)) BlockHeader {
    BlockHeader* next;        // the next block of the same size class in a thread's cache
    std::uint32_t sizeClass;  // kUnpooled for a block larger than the largest class
    std::uint32_t state;      // kInUse or kFreed: a block freed twice is caught before it is reused
};

// Size classes of 16, 32, ... 512 bytes: what a decoded message is made of.
inline constexpr std::size_t kSmallestBlock = 16;
inline constexpr std::uint32_t kClassCount = 6;
inline constexpr std::size_t kLargestBlock = kSmallestBlock << (kClassCount - 1);
inline constexpr std::uint32_t kUnpooled = kClassCount;
// Enough for the largest decoded message (81 blocks, mostly of one or two sizes) in a few classes.
inline constexpr std::uint32_t kMaxCachedPerClass = 64;
inline constexpr std::uint32_t kInUse = 0x6B636F6C;
inline constexpr std::uint32_t kFreed = 0x65657266;

enum class CacheState : std::uint8_t { kUnopened, kOpen, kClosed };

struct ClassList {
    BlockHeader* head;
    std::uint32_t count;
};

// Blocks freed on this thread, kept for its next allocations. Trivially destructible, so that a block
// freed after the thread's cache was emptied (by another thread-local's destructor) finds it closed.
struct ThreadCache {
    ClassList lists[kClassCount];
    CacheState state;
};

// Initial-exec: reached without a call from every library. Small enough for the room the loader
// keeps for libraries loaded later.
[[gnu::tls_model("initial-exec")]] extern constinit thread_local ThreadCache tCache;

constexpr std::uint32_t SizeClassOf(std::size_t size) {
    constexpr int kSmallestBits = std::bit_width(kSmallestBlock - 1);
    return size <= kSmallestBlock ? 0 : static_cast<std::uint32_t>(std::bit_width(size - 1) - kSmallestBits);
}

// The size class of every pooled size, by its sixteenths: one load where a block is taken.
inline constexpr std::array<std::uint8_t, kLargestBlock / kSmallestBlock> kClassBySixteenths = [] {
    std::array<std::uint8_t, kLargestBlock / kSmallestBlock> classes{};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        classes[i] = static_cast<std::uint8_t>(SizeClassOf((i + 1) * kSmallestBlock));
    }
    return classes;
}();

constexpr std::size_t Capacity(std::uint32_t sizeClass) {
    return kSmallestBlock << sizeClass;
}

// AddressSanitizer sees a cached block, a header and the room past a block's size as unusable, so
// that the pool hides no use after free and no overflow from it. No-ops in other builds.
inline void Hide(void* bytes, std::size_t size) {
    ASAN_POISON_MEMORY_REGION(bytes, size);
}

inline void Show(void* bytes, std::size_t size) {
    ASAN_UNPOISON_MEMORY_REGION(bytes, size);
}

// A cached block of 1 to kLargestBlock bytes, or null when the cache has none of its class. A block
// taken again keeps the size class it was made with.
inline void* TakeCached(std::size_t size) {
    const std::uint32_t sizeClass = kClassBySixteenths[(size - 1) / kSmallestBlock];
    ClassList& list = tCache.lists[sizeClass];
    BlockHeader* header = list.head;
    if (header == nullptr) {
        return nullptr;
    }
    Show(header, sizeof *header);
    list.head = header->next;
    --list.count;
    header->state = kInUse;
    Hide(header, sizeof *header + Capacity(sizeClass));
    Show(header + 1, size);
    return header + 1;
}

// Keeps a block that is in use and pooled in the open cache while its class has room; false, with
// nothing done, for any other block.
inline bool PutCached(void* block) {
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    Show(header, sizeof *header);
    const std::uint32_t sizeClass = header->sizeClass;
    if (header->state != kInUse || sizeClass >= kUnpooled || tCache.state != CacheState::kOpen ||
        tCache.lists[sizeClass].count == kMaxCachedPerClass) {
        return false;
    }
    ClassList& list = tCache.lists[sizeClass];
    header->state = kFreed;
    header->next = list.head;
    list.head = header;
    ++list.count;
    Hide(header, sizeof *header + Capacity(sizeClass));
    return true;
}

}  // namespace plat::block_cache
