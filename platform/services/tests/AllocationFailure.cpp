// The program's own global operator new and delete, over malloc and free, with a per-thread switch that
// makes one of them fail. Every non-aligned form is replaced, so that no block crosses between these and the
// sanitizer's own forms.
#include "platform/services/tests/AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

struct FailureSwitch {
    bool armed = false;
    std::size_t before = 0;  // allocations that still succeed
    bool refused = false;
};

thread_local FailureSwitch failureSwitch;

// Null when the switch refuses this allocation.
void* Allocate(std::size_t size) noexcept {
    FailureSwitch& current = failureSwitch;
    if (current.armed) {
        if (current.before == 0) {
            current.armed = false;
            current.refused = true;
            return nullptr;
        }
        --current.before;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
    void* block = Allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace plat::test {

AllocationFailure::AllocationFailure(std::size_t before) {
    failureSwitch = FailureSwitch{true, before, false};
}

AllocationFailure::~AllocationFailure() {
    failureSwitch.armed = false;
}

bool AllocationFailure::Refused() const {
    return failureSwitch.refused;
}

}  // namespace plat::test

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
