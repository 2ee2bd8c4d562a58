#pragma once

#include <cstddef>

#include "platform/services/BlockCache.h"

namespace plat {

// Memory blocks that one library allocates and another frees (decoded SNMP records and values),
// on the same thread or on any other. Blocks come zero-filled and aligned for any type. Freeing a
// null block is harmless; any other block goes back through FreeBlock only, once.
//
// A decoder makes many small blocks per message, so small blocks are kept for reuse in a cache of
// the thread that frees them, a few dozen per size, instead of going back to the general allocator
// each time. A thread's cache is emptied when the thread ends.
void* AllocBlock(std::size_t size);
// A block whose bytes the caller writes itself: not zero-filled, and quicker for it. Freed the same way.
inline void* AllocRawBlock(std::size_t size);
inline void FreeBlock(void* block);
// Frees `count` blocks (null ones included).
inline void FreeBlocks(void* const* blocks, std::size_t count);

namespace block_cache {
// What the quick paths below leave to this library.
void* AllocateUncached(std::size_t size);
void FreeUncached(void* block);
}  // namespace block_cache

inline void* AllocRawBlock(std::size_t size) {
    size = size != 0 ? size : 1;  // an empty block is one of a byte
    if (size <= block_cache::kLargestBlock) {
        if (void* block = block_cache::TakeCached(size)) {
            return block;
        }
    }
    return block_cache::AllocateUncached(size);
}

inline void FreeBlock(void* block) {
    if (block != nullptr && !block_cache::PutCached(block)) {
        block_cache::FreeUncached(block);
    }
}

inline void FreeBlocks(void* const* blocks, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        FreeBlock(blocks[i]);
    }
}

}  // namespace plat
