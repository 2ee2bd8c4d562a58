#pragma once

#include <cstddef>

namespace plat {

// Memory blocks that one library allocates and another frees (decoded SNMP records and values).
// Blocks come zero-filled. Freeing a null block is harmless.
void* AllocBlock(std::size_t size);
// A block whose bytes the caller writes itself: not zero-filled, and quicker for it. Freed the same way.
void* AllocRawBlock(std::size_t size);
void FreeBlock(void* block);

}  // namespace plat
