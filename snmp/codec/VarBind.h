#pragma once

#include <cstddef>
#include <cstdint>

#include <algorithm>
#include <cstring>

#include "platform/services/GlobalMemory.h"

// One variable binding. Value bytes by type: integer, counter, gauge and time ticks a host-order
// 32-bit number; octet string, opaque and unknown types the raw bytes; IP address 4 bytes in network
// order; object identifier its dotted text; null nothing.
struct VarBind {
    char* Oid;               // dotted text, not necessarily terminated when a caller fills it
    std::int32_t OidLength;  // characters of Oid
    std::int32_t ValueType;  // SnmpValueType
    void* Value;
    std::int32_t ValueLength;
};

namespace snmp {

// The 32-bit number of an integer, counter, gauge or time ticks binding; false when it has none.
inline bool ReadBindingNumber(const VarBind& binding, std::uint32_t& number) {
    if (binding.Value == nullptr || binding.ValueLength < static_cast<std::int32_t>(sizeof number)) {
        return false;
    }
    std::memcpy(&number, binding.Value, sizeof number);
    return true;
}

// Frees each binding's object identifier and value and the array of a decoded record; null is ignored.
// The bindings' blocks go a batch at a time: one call frees dozens.
inline void FreeBindingList(VarBind* bindings, std::size_t count) {
    if (bindings == nullptr) {
        return;
    }
    constexpr std::size_t kBatch = 32;
    void* blocks[2 * kBatch];
    for (std::size_t first = 0; first < count; first += kBatch) {
        const std::size_t batch = std::min(kBatch, count - first);
        for (std::size_t i = 0; i < batch; ++i) {
            blocks[2 * i] = bindings[first + i].Oid;
            blocks[2 * i + 1] = bindings[first + i].Value;
        }
        plat::FreeBlocks(blocks, 2 * batch);
    }
    plat::FreeBlock(bindings);
}

}  // namespace snmp
