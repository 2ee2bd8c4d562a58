#include "platform/dlc/BufferPool.h"

#include <algorithm>
#include <cstring>

namespace plat {

BufferPool::BufferPool(void* memory, std::uint32_t size) {
    auto address = reinterpret_cast<std::uintptr_t>(memory);
    std::uintptr_t aligned = (address + alignof(DlcBuffer) - 1) / alignof(DlcBuffer) * alignof(DlcBuffer);
    std::size_t usable = size > aligned - address ? size - (aligned - address) : 0;
    base_ = reinterpret_cast<std::uint8_t*>(aligned);
    count_ = usable / sizeof(DlcBuffer);
    taken_.assign(count_, false);
    for (std::size_t i = count_; i > 0; --i) {
        free_.push_back(i - 1);
    }
}

DlcBuffer* BufferPool::Slot(std::size_t index) const {
    return reinterpret_cast<DlcBuffer*>(base_ + index * sizeof(DlcBuffer));
}

long BufferPool::SlotOf(const DlcBuffer* buffer) const {
    auto at = reinterpret_cast<std::uintptr_t>(buffer);
    auto base = reinterpret_cast<std::uintptr_t>(base_);
    if (at < base || (at - base) % sizeof(DlcBuffer) != 0 || (at - base) / sizeof(DlcBuffer) >= count_) {
        return -1;
    }
    return static_cast<long>((at - base) / sizeof(DlcBuffer));
}

DlcBuffer* BufferPool::TakeFrame(std::span<const std::uint8_t> data) {
    std::size_t needed = std::max<std::size_t>(1, (data.size() + kDlcBufferData - 1) / kDlcBufferData);
    if (needed > free_.size()) {
        return nullptr;
    }
    DlcBuffer* first = nullptr;
    DlcBuffer* last = nullptr;
    for (std::size_t i = 0; i < needed; ++i) {
        std::size_t index = free_.back();
        free_.pop_back();
        taken_[index] = true;
        DlcBuffer* buffer = Slot(index);
        std::memset(buffer, 0, sizeof *buffer);
        std::size_t offset = i * kDlcBufferData;
        std::size_t part = std::min(kDlcBufferData, data.size() - std::min(offset, data.size()));
        if (part > 0) {
            std::memcpy(buffer->data, data.data() + offset, part);
        }
        buffer->dataLength = static_cast<std::uint16_t>(part);
        (last != nullptr ? last->next : first) = buffer;
        last = buffer;
    }
    first->frameLength = static_cast<std::uint16_t>(data.size());
    return first;
}

bool BufferPool::Release(DlcBuffer* first) {
    // At most every slot once: a chain that loops back on itself ends as an invalid buffer.
    for (DlcBuffer* buffer = first; buffer != nullptr;) {
        long index = SlotOf(buffer);
        if (index < 0 || !taken_[static_cast<std::size_t>(index)]) {
            return false;
        }
        DlcBuffer* next = buffer->next;
        taken_[static_cast<std::size_t>(index)] = false;
        free_.push_back(static_cast<std::size_t>(index));
        buffer = next;
    }
    return true;
}

}  // namespace plat
