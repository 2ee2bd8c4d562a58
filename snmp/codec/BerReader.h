#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace snmp {

// Reads BER from received bytes. Every read checks what remains first; a length is accepted only
// when that many bytes remain. A failed read leaves the reader where it was. Inline: a message
// makes dozens of these reads.
class BerReader {
  public:
    BerReader(const std::uint8_t* data, std::size_t length) : next_(data), end_(data + length) {}

    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - next_); }
    bool AtEnd() const { return next_ == end_; }

    bool ReadByte(std::uint8_t& byte) {
        if (next_ == end_) {
            return false;
        }
        byte = *next_++;
        return true;
    }

    // Reads one byte and compares it.
    bool Expect(std::uint8_t byte) {
        if (next_ == end_ || *next_ != byte) {
            return false;
        }
        ++next_;
        return true;
    }

    // Reads the given bytes exactly (02 01 00 and the like).
    bool ExpectBytes(const std::uint8_t* bytes, std::size_t count) {
        if (Remaining() < count || std::memcmp(next_, bytes, count) != 0) {
            return false;
        }
        next_ += count;
        return true;
    }

    // Length octets in either form (at most 4 length bytes in the long form); the length must not
    // exceed what remains after them.
    bool ReadLength(std::size_t& length) {
        if (next_ != end_ && *next_ < 0x80 && *next_ < Remaining()) {
            length = *next_++;
            return true;
        }
        return ReadLongLength(length);
    }

    // A length in the short form only (one byte below 0x80), not exceeding what remains.
    bool ReadShortLength(std::size_t& length) {
        if (next_ == end_ || *next_ >= 0x80 || *next_ > Remaining() - 1) {
            return false;
        }
        length = *next_++;
        return true;
    }

    // Takes `count` bytes: their start, or null when fewer remain.
    const std::uint8_t* Take(std::size_t count) {
        if (Remaining() < count) {
            return nullptr;
        }
        const std::uint8_t* start = next_;
        next_ += count;
        return start;
    }

    // Reads tag and length and splits the content off into `content`. With `exact`, the content must
    // be everything that remains.
    bool ReadElement(std::uint8_t tag, BerReader& content, bool exact = false) {
        const std::uint8_t* start = next_;
        std::size_t length = 0;
        if (!Expect(tag) || !ReadLength(length) || (exact && length != Remaining())) {
            next_ = start;
            return false;
        }
        content = BerReader(next_, length);
        next_ += length;
        return true;
    }

  private:
    // ReadLength beyond the one-byte form.
    bool ReadLongLength(std::size_t& length);

    const std::uint8_t* next_;
    const std::uint8_t* end_;
};

}  // namespace snmp
