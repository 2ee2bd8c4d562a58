#include "platform/services/GlobalMemory.h"

#include <cstdlib>

namespace plat {

void* AllocBlock(std::size_t size) {
    return std::calloc(1, size == 0 ? 1 : size);
}

void* AllocRawBlock(std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void FreeBlock(void* block) {
    std::free(block);
}

}  // namespace plat
