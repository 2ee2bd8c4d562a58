#include "platform/services/GlobalMemory.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

// Every block starts with this header; the caller's bytes follow it, aligned as malloc's are.
struct alignas(alignof(std::max_align_t)) BlockHeader {
    BlockHeader* next;        // the next block of the same size class in a thread's cache
    std::uint32_t sizeClass;  // kUnpooled for a block larger than the largest class
    std::uint32_t state;      // kInUse or kFreed: a block freed twice is caught before it is reused
};

// Size classes of 16, 32, ... 512 bytes: what a decoded message is made of.
constexpr std::size_t kSmallestBlock = 16;
constexpr std::uint32_t kClassCount = 6;
constexpr std::size_t kLargestBlock = kSmallestBlock << (kClassCount - 1);
constexpr std::uint32_t kUnpooled = kClassCount;
// Enough for the largest decoded message (81 blocks, mostly of one or two sizes) in a few classes.
constexpr std::uint32_t kMaxCachedPerClass = 64;
constexpr std::uint32_t kInUse = 0x6B636F6C;
constexpr std::uint32_t kFreed = 0x65657266;

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

// Initial-exec: reached without a call on every block. Small enough for the room the loader keeps
// for libraries loaded later.
[[gnu::tls_model("initial-exec")]] constinit thread_local ThreadCache tCache{};

// AddressSanitizer sees a cached block, a header and the room past a block's size as unusable, so
// that the pool hides no use after free and no overflow from it. No-ops in other builds.
void Hide(void* bytes, std::size_t size) {
    ASAN_POISON_MEMORY_REGION(bytes, size);
}

void Show(void* bytes, std::size_t size) {
    ASAN_UNPOISON_MEMORY_REGION(bytes, size);
}

std::uint32_t SizeClassOf(std::size_t size) {
    constexpr int kSmallestBits = std::bit_width(kSmallestBlock - 1);
    return size <= kSmallestBlock ? 0 : static_cast<std::uint32_t>(std::bit_width(size - 1) - kSmallestBits);
}

std::size_t Capacity(std::uint32_t sizeClass) {
    return kSmallestBlock << sizeClass;
}

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

// A cached block of the class, or null. Blocks are cached only while the cache is open.
BlockHeader* TakeCached(std::uint32_t sizeClass) {
    ClassList& list = tCache.lists[sizeClass];
    BlockHeader* header = list.head;
    if (header != nullptr) {
        Show(header, sizeof *header);
        list.head = header->next;
        --list.count;
    }
    return header;
}

bool Cache(BlockHeader* header) {
    ThreadCache* cache = OpenCache();
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

void* Allocate(std::size_t size) {
    size = std::max<std::size_t>(size, 1);
    const std::uint32_t sizeClass = size <= kLargestBlock ? SizeClassOf(size) : kUnpooled;
    const std::size_t capacity = sizeClass == kUnpooled ? size : Capacity(sizeClass);
    BlockHeader* header = sizeClass == kUnpooled ? nullptr : TakeCached(sizeClass);
    if (header == nullptr) {
        if (capacity > SIZE_MAX - sizeof(BlockHeader)) {
            return nullptr;
        }
        header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + capacity));
        if (header == nullptr) {
            return nullptr;
        }
    }
    header->sizeClass = sizeClass;
    header->state = kInUse;
    Hide(header, sizeof *header + capacity);
    Show(header + 1, size);
    return header + 1;
}

// Inline in both frees: a batch pays for the call once.
inline void Release(void* block) {
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
    } else if (!Cache(header)) {
        FreeToSystem(header, Capacity(header->sizeClass));
    }
}

}  // namespace

void* AllocBlock(std::size_t size) {
    void* block = Allocate(size);
    if (block != nullptr) {
        std::memset(block, 0, size);
    }
    return block;
}

void* AllocRawBlock(std::size_t size) {
    return Allocate(size);
}

void FreeBlock(void* block) {
    Release(block);
}

void FreeBlocks(void* const* blocks, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        Release(blocks[i]);
    }
}

}  // namespace plat
