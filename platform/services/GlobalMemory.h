#pragma once

#include <cstddef>

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
void* AllocRawBlock(std::size_t size);
void FreeBlock(void* block);
// Frees `count` blocks (null ones included) at once: quicker than one call for each.
void FreeBlocks(void* const* blocks, std::size_t count);

}  // namespace plat
