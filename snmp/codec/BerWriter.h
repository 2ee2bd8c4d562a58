#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace snmp {

// Writes BER back to front into a fixed buffer, so that every element's length is known when its
// header goes in front of its content. Every put checks the room left first and fails without
// writing anything.
class BerWriter {
  public:
    BerWriter(std::uint8_t* buffer, std::size_t capacity)
        : buffer_(buffer), capacity_(capacity), free_(capacity) {}

    bool PutByte(std::uint8_t byte);
    bool PutBytes(const void* bytes, std::size_t count);
    bool PutLength(std::size_t length);
    // Identifier and length octets in front of content already written.
    bool PutHeader(std::uint8_t tag, std::size_t contentLength);

    // An element of content `bytes` (at most kMaxElementContent bytes).
    bool PutOctets(std::uint8_t tag, const void* bytes, std::size_t count);
    // Signed INTEGER in the fewest two's-complement bytes.
    bool PutInteger(std::uint8_t tag, std::int32_t value);
    // Counter, gauge, time ticks: the fewest bytes, with a leading zero when the top bit is set.
    bool PutUnsigned(std::uint8_t tag, std::uint32_t value);
    // OBJECT IDENTIFIER from dotted text.
    bool PutObjectId(std::string_view text);

    // Bytes written so far: they start at Data().
    std::size_t Size() const { return capacity_ - free_; }
    const std::uint8_t* Data() const { return buffer_ + free_; }

  private:
    std::uint8_t* buffer_;
    std::size_t capacity_;
    std::size_t free_;
};

// The number of bytes of the length octets of `length`.
std::size_t LengthOctetsSize(std::size_t length);

}  // namespace snmp
