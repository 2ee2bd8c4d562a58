#include "snmp/codec/BerWriter.h"

#include <algorithm>
#include <bit>

#include "snmp/codec/BerTags.h"
#include "snmp/codec/ObjectIdentifier.h"
#include "snmp/codec/ReqParam.h"

namespace snmp {

bool BerWriter::PutInteger(std::uint8_t tag, std::int32_t value) {
    // The fewest bytes that keep the sign: the significant bits of the value, or of its complement
    // when negative, and a sign bit.
    const auto magnitude = static_cast<std::uint32_t>(value < 0 ? ~value : value);
    const auto count = static_cast<std::size_t>(std::bit_width(magnitude) / 8 + 1);
    std::uint8_t bytes[4];
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 3; i >= 0; --i, bits >>= 8) {
        bytes[i] = static_cast<std::uint8_t>(bits);
    }
    return PutOctets(tag, bytes + 4 - count, count);
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

// The content is written in place, in front of what the writer holds, at most kMaxElementContent bytes.
bool BerWriter::PutObjectId(std::string_view text) {
    std::uint8_t* const end = buffer_ + free_;
    const std::uint8_t* start = OidTextToContentBefore(text, end - std::min(free_, kMaxElementContent), end);
    if (start == nullptr) {
        return false;
    }
    const std::size_t before = free_;
    free_ = static_cast<std::size_t>(start - buffer_);
    if (!PutHeader(kTagObjectId, before - free_)) {
        free_ = before;
        return false;
    }
    return true;
}

}  // namespace snmp
