#include "platform/services/GlobalMemory.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat::block_cache {

[[gnu::tls_model("initial-exec")]] constinit thread_local ThreadCache tCache{};

namespace {

void FreeToSystem(BlockHeader* header, std::size_t capacity) {
    Show(header, sizeof *header + capacity);
    std::free(header);
}

// Empties the thread's cache when the thread ends, and closes it for whatever is freed later.
struct CacheCloser {
    CacheCloser() = default;
    CacheCloser(const CacheCloser&) = delete;
    CacheCloser& operator=(const CacheCloser&) = delete;
    ~CacheCloser() {
        for (std::uint32_t sizeClass = 0; sizeClass < kClassCount; ++sizeClass) {
            ClassList& list = tCache.lists[sizeClass];
            while (list.head != nullptr) {
                BlockHeader* header = list.head;
                Show(header, sizeof *header);
                list.head = header->next;
                FreeToSystem(header, Capacity(sizeClass));
            }
            list.count = 0;
        }
        tCache.state = CacheState::kClosed;
    }
};

// The thread's cache, opened on its first use; null once the thread is ending.
ThreadCache* OpenCache() {
    ThreadCache& cache = tCache;
    if (cache.state == CacheState::kOpen) {
        return &cache;
    }
    if (cache.state == CacheState::kClosed) {
        return nullptr;
    }
    static thread_local CacheCloser closer;  // constructed here, once per thread: its end empties the cache
    cache.state = CacheState::kOpen;
    return &cache;
}

// Keeps a freed pooled block in the thread's cache (null once it is closed) while its class has room.
bool Cache(ThreadCache* cache, BlockHeader* header) {
    if (cache == nullptr || cache->lists[header->sizeClass].count == kMaxCachedPerClass) {
        return false;
    }
    ClassList& list = cache->lists[header->sizeClass];
    header->next = list.head;
    list.head = header;
    ++list.count;
    Hide(header, sizeof *header + Capacity(header->sizeClass));
    return true;
}

}  // namespace

void* AllocateUncached(std::size_t size) {
    size = std::max<std::size_t>(size, 1);
    if (size <= kLargestBlock) {
        if (void* block = TakeCached(size)) {
            return block;
        }
    }
    const std::uint32_t sizeClass = size <= kLargestBlock ? SizeClassOf(size) : kUnpooled;
    const std::size_t capacity = sizeClass == kUnpooled ? size : Capacity(sizeClass);
    if (capacity > SIZE_MAX - sizeof(BlockHeader)) {
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + capacity));
    if (header == nullptr) {
        return nullptr;
    }
    header->sizeClass = sizeClass;
    header->state = kInUse;
    Hide(header, sizeof *header + capacity);
    Show(header + 1, size);
    return header + 1;
}

void FreeUncached(void* block) {
    if (block == nullptr) {
        return;
    }
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    Show(header, sizeof *header);
    if (header->state != kInUse || header->sizeClass > kUnpooled) {
        // Reusing it would hand one block to two owners: stop here, where the fault is.
        std::fputs("FreeBlock: a memory block freed twice, or not a memory block\n", stderr);
        std::abort();
    }
    header->state = kFreed;
    if (header->sizeClass == kUnpooled) {
        FreeToSystem(header, 0);
    } else if (!Cache(OpenCache(), header)) {
        FreeToSystem(header, Capacity(header->sizeClass));
    }
}

}  // namespace plat::block_cache

namespace plat {

void* AllocBlock(std::size_t size) {
    void* block = block_cache::AllocateUncached(size);
    if (block != nullptr) {
        std::memset(block, 0, size);
    }
    return block;
}

}  // namespace plat
