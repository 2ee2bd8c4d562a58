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

// Opens the thread's cache on its first use; false once the thread is ending.
bool OpenCache() {
    if (tCache.state != CacheState::kUnopened) {
        return tCache.state == CacheState::kOpen;
    }
    static thread_local CacheCloser closer;  // constructed here, once per thread: its end empties the cache
    tCache.state = CacheState::kOpen;
    return true;
}

}  // namespace

void* AllocateUncached(std::size_t size) {
    size = std::max<std::size_t>(size, 1);
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
    // The quick path found the cache unopened or the class full: open it, and cache the block if it may.
    if (header->sizeClass != kUnpooled && OpenCache() && PutCached(block)) {
        return;
    }
    header->state = kFreed;
    FreeToSystem(header, header->sizeClass == kUnpooled ? 0 : Capacity(header->sizeClass));
}

}  // namespace plat::block_cache

namespace plat {

void* AllocBlock(std::size_t size) {
    void* block = AllocRawBlock(size);
    if (block != nullptr) {
        std::memset(block, 0, size);
    }
    return block;
}

}  // namespace plat
