#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "snmp/codec/ReqParam.h"
#include "snmp/codec/ShortCopy.h"

namespace snmp {

// The number of bytes of the length octets of `length`.
inline std::size_t LengthOctetsSize(std::size_t length) {
    std::size_t size = 1;
    if (length >= 0x80) {
        for (; length != 0; length >>= 8) {
            ++size;
        }
    }
    return size;
}

// Writes BER back to front into a fixed buffer, so that every element's length is known when its
// header goes in front of its content. Every put checks the room left; one that fails leaves what
// the writer holds as it was. The small puts are inline: a message makes dozens of them.
class BerWriter {
  public:
    BerWriter(std::uint8_t* buffer, std::size_t capacity)
        : buffer_(buffer), capacity_(capacity), free_(capacity) {}

    bool PutByte(std::uint8_t byte) {
        if (free_ == 0) {
            return false;
        }
        buffer_[--free_] = byte;
        return true;
    }

    bool PutBytes(const void* bytes, std::size_t count) {
        if (free_ < count) {
            return false;
        }
        free_ -= count;
        CopyBytes(buffer_ + free_, bytes, count);
        return true;
    }

    bool PutLength(std::size_t length) {
        if (length < 0x80) {
            return PutByte(static_cast<std::uint8_t>(length));
        }
        if (free_ < LengthOctetsSize(length)) {
            return false;
        }
        std::size_t count = 0;
        for (; length != 0; length >>= 8, ++count) {
            buffer_[--free_] = static_cast<std::uint8_t>(length);
        }
        buffer_[--free_] = static_cast<std::uint8_t>(0x80 | count);
        return true;
    }

    // Identifier and length octets in front of content already written.
    bool PutHeader(std::uint8_t tag, std::size_t contentLength) {
        if (contentLength < 0x80) {  // the short form, nearly every element of a message
            if (free_ < 2) {
                return false;
            }
            buffer_[--free_] = static_cast<std::uint8_t>(contentLength);
            buffer_[--free_] = tag;
            return true;
        }
        return free_ > LengthOctetsSize(contentLength) && PutLength(contentLength) && PutByte(tag);
    }

    // An element of content `bytes` (at most kMaxElementContent bytes).
    bool PutOctets(std::uint8_t tag, const void* bytes, std::size_t count) {
        return count <= kMaxElementContent && free_ >= count + LengthOctetsSize(count) + 1 &&
               PutBytes(bytes, count) && PutHeader(tag, count);
    }

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

}  // namespace snmp
