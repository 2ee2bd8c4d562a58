#include "snmp/codec/BerWriter.h"

#include "snmp/codec/BerTags.h"
#include "snmp/codec/ObjectIdentifier.h"
#include "snmp/codec/ReqParam.h"

namespace snmp {

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
