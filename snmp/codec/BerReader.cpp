#include "snmp/codec/BerReader.h"

#include <cstring>

namespace snmp {

namespace {
constexpr std::size_t kMaxLengthBytes = 4;
}

bool BerReader::ReadByte(std::uint8_t& byte) {
    if (next_ == end_) {
        return false;
    }
    byte = *next_++;
    return true;
}

bool BerReader::Expect(std::uint8_t byte) {
    if (next_ == end_ || *next_ != byte) {
        return false;
    }
    ++next_;
    return true;
}

bool BerReader::ExpectBytes(const std::uint8_t* bytes, std::size_t count) {
    if (Remaining() < count || std::memcmp(next_, bytes, count) != 0) {
        return false;
    }
    next_ += count;
    return true;
}

bool BerReader::ReadLength(std::size_t& length) {
    const std::uint8_t* start = next_;
    std::uint8_t first = 0;
    if (!ReadByte(first)) {
        return false;
    }
    std::size_t value = first;
    if (first >= 0x80) {
        std::size_t count = first & 0x7F;
        if (count == 0 || count > kMaxLengthBytes || Remaining() < count) {
            next_ = start;
            return false;
        }
        value = 0;
        for (; count != 0; --count) {
            value = (value << 8) | *next_++;
        }
    }
    if (value > Remaining()) {
        next_ = start;
        return false;
    }
    length = value;
    return true;
}

bool BerReader::ReadShortLength(std::size_t& length) {
    if (next_ == end_ || *next_ >= 0x80 || *next_ > Remaining() - 1) {
        return false;
    }
    length = *next_++;
    return true;
}

const std::uint8_t* BerReader::Take(std::size_t count) {
    if (Remaining() < count) {
        return nullptr;
    }
    const std::uint8_t* start = next_;
    next_ += count;
    return start;
}

bool BerReader::ReadElement(std::uint8_t tag, BerReader& content, bool exact) {
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

}  // namespace snmp
