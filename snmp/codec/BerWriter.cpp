#include "snmp/codec/BerWriter.h"

#include <cstring>

#include "snmp/codec/BerTags.h"
#include "snmp/codec/ObjectIdentifier.h"
#include "snmp/codec/ReqParam.h"

namespace snmp {

std::size_t LengthOctetsSize(std::size_t length) {
    std::size_t size = 1;
    if (length >= 0x80) {
        for (; length != 0; length >>= 8) {
            ++size;
        }
    }
    return size;
}

bool BerWriter::PutByte(std::uint8_t byte) {
    if (free_ == 0) {
        return false;
    }
    buffer_[--free_] = byte;
    return true;
}

bool BerWriter::PutBytes(const void* bytes, std::size_t count) {
    if (free_ < count) {
        return false;
    }
    free_ -= count;
    if (count != 0) {
        std::memcpy(buffer_ + free_, bytes, count);
    }
    return true;
}

bool BerWriter::PutLength(std::size_t length) {
    if (free_ < LengthOctetsSize(length)) {
        return false;
    }
    if (length < 0x80) {
        return PutByte(static_cast<std::uint8_t>(length));
    }
    std::size_t count = 0;
    for (; length != 0; length >>= 8, ++count) {
        PutByte(static_cast<std::uint8_t>(length));
    }
    return PutByte(static_cast<std::uint8_t>(0x80 | count));
}

bool BerWriter::PutHeader(std::uint8_t tag, std::size_t contentLength) {
    return free_ > LengthOctetsSize(contentLength) && PutLength(contentLength) && PutByte(tag);
}

bool BerWriter::PutOctets(std::uint8_t tag, const void* bytes, std::size_t count) {
    return count <= kMaxElementContent && free_ >= count + LengthOctetsSize(count) + 1 &&
           PutBytes(bytes, count) && PutHeader(tag, count);
}

bool BerWriter::PutInteger(std::uint8_t tag, std::int32_t value) {
    // Drop leading bytes while the next byte's top bit still carries the sign.
    std::uint8_t bytes[4];
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 3; i >= 0; --i, bits >>= 8) {
        bytes[i] = static_cast<std::uint8_t>(bits);
    }
    std::size_t start = 0;
    while (start < 3 && ((bytes[start] == 0x00 && (bytes[start + 1] & 0x80) == 0) ||
                         (bytes[start] == 0xFF && (bytes[start + 1] & 0x80) != 0))) {
        ++start;
    }
    return PutOctets(tag, bytes + start, 4 - start);
}

bool BerWriter::PutUnsigned(std::uint8_t tag, std::uint32_t value) {
    std::uint8_t bytes[5] = {0};
    for (int i = 4; i >= 1; --i, value >>= 8) {
        bytes[i] = static_cast<std::uint8_t>(value);
    }
    std::size_t start = 0;
    while (start < 4 && bytes[start] == 0x00 && (bytes[start + 1] & 0x80) == 0) {
        ++start;
    }
    return PutOctets(tag, bytes + start, 5 - start);
}

bool BerWriter::PutObjectId(std::string_view text) {
    std::uint8_t content[kMaxElementContent];
    std::size_t length = 0;
    return OidTextToContent(text, content, sizeof content, length) &&
           PutOctets(kTagObjectId, content, length);
}

}  // namespace snmp
