#pragma once

#include <cstddef>

namespace plat::test {

// Makes one allocation fail (operator new throws std::bad_alloc, its nothrow form answers null): the
// one that the thread which made this object asks for after `before` others, while this object lives.
// A program that links this replaces the global operator new and delete with its own.
class AllocationFailure {
  public:
    explicit AllocationFailure(std::size_t before);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // Whether the allocation came and was refused.
    bool Refused() const;
};

}  // namespace plat::test
