#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Multi-byte fields of the segment's frames, most significant byte first. Readers take an offset the
// caller has checked against the length.
namespace plat {

inline void PutBig16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutBig16(out, static_cast<std::uint16_t>(value >> 16));
    PutBig16(out, static_cast<std::uint16_t>(value));
}

inline std::uint16_t GetBig16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

inline std::uint32_t GetBig32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(GetBig16(bytes, at)) << 16 | GetBig16(bytes, at + 2);
}

}  // namespace plat
