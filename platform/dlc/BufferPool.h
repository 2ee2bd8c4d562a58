#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/dlc/DlcInterface.h"

namespace plat {

// The receive buffer pool of an adapter open: the caller's memory cut into DlcBuffer slots. A frame
// takes as many as its data needs, chained; when there are not enough free slots it is not taken.
class BufferPool {
  public:
    BufferPool(void* memory, std::uint32_t size);

    std::size_t FreeCount() const { return free_.size(); }
    // The chain holding the data, headers of the first buffer zeroed; null when the pool runs short.
    DlcBuffer* TakeFrame(std::span<const std::uint8_t> data);
    // Gives a chain back. False when a buffer of it is not a taken buffer of this pool (the chain is
    // given back up to that buffer).
    bool Release(DlcBuffer* first);

  private:
    // The slot index of a pointer into the pool, or -1 when it is none.
    long SlotOf(const DlcBuffer* buffer) const;
    DlcBuffer* Slot(std::size_t index) const;

    std::uint8_t* base_;
    std::size_t count_;
    std::vector<bool> taken_;
    std::vector<std::size_t> free_;
};

inline constexpr std::size_t kDlcBufferData = sizeof(DlcBuffer::data);

}  // namespace plat
