#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace snmp {

// The longest copy CopyShort makes.
inline constexpr std::size_t kShortCopyLimit = 32;

// Copies `count` bytes (at most kShortCopyLimit) without a call: two moves of a fixed size that
// overlap in the middle rather than a loop. Most of what a message holds (identifier prefixes,
// values, communities) is this short, and a call of the general copy costs more than the copy.
inline void CopyShort(void* to, const void* from, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(to);
    const auto* in = static_cast<const std::uint8_t*>(from);
    if (count >= 16) {
        std::memcpy(out, in, 16);
        std::memcpy(out + count - 16, in + count - 16, 16);
    } else if (count >= 8) {
        std::memcpy(out, in, 8);
        std::memcpy(out + count - 8, in + count - 8, 8);
    } else if (count >= 4) {
        std::memcpy(out, in, 4);
        std::memcpy(out + count - 4, in + count - 4, 4);
    } else if (count != 0) {
        out[0] = in[0];
        out[count / 2] = in[count / 2];
        out[count - 1] = in[count - 1];
    }
}

// Copies `count` bytes, the short ones without a call.
inline void CopyBytes(void* to, const void* from, std::size_t count) {
    if (count <= kShortCopyLimit) {
        CopyShort(to, from, count);
    } else {
        std::memcpy(to, from, count);
    }
}

}  // namespace snmp
