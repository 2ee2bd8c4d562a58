#include "snmp/codec/ValueDecoder.h"

#include <cstring>

#include "snmp/codec/BerTags.h"
#include "snmp/codec/ObjectIdentifier.h"
#include "snmp/codec/SnmpValueType.h"

namespace snmp {

namespace {

constexpr std::uint8_t kClassMask = 0xC0;
constexpr std::uint8_t kUniversal = 0x00;
constexpr std::uint8_t kApplication = 0x40;
constexpr std::size_t kMaxIntegerLength = 5;

bool ReadOctets(BerReader& in, DecodedValue& value) {
    std::size_t length = 0;
    if (!in.ReadLength(length)) {
        return false;
    }
    value.bytes = in.Take(length);
    value.length = length;
    return true;
}

bool ReadNumber(BerReader& in, bool isSigned, DecodedValue& value) {
    std::uint32_t number = 0;
    if (!ReadIntegerContent(in, isSigned, number)) {
        return false;
    }
    std::memcpy(value.storage, &number, sizeof number);
    value.bytes = value.storage;
    value.length = sizeof number;
    return true;
}

bool ReadObjectIdContent(BerReader& in, DecodedValue& value) {
    std::size_t length = 0;
    std::size_t textLength = 0;
    if (!in.ReadLength(length)) {
        return false;
    }
    const std::uint8_t* content = in.Take(length);
    char* text = reinterpret_cast<char*>(value.storage);
    if (!OidContentToText(content, length, text, sizeof value.storage, textLength)) {
        return false;
    }
    value.bytes = value.storage;
    value.length = textLength;
    return true;
}

bool ReadUniversal(BerReader& in, std::uint8_t tag, DecodedValue& value) {
    switch (tag) {
        case kTagInteger:
            value.type = kSnmpInteger;
            return ReadNumber(in, true, value);
        case kTagOctetString:
            value.type = kSnmpOctetString;
            return ReadOctets(in, value);
        case kTagNull:
            value.type = kSnmpNull;
            value.length = 0;
            return in.Expect(0x00);
        case kTagObjectId:
            value.type = kSnmpObjectId;
            return ReadObjectIdContent(in, value);
        default:
            return false;
    }
}

bool ReadApplication(BerReader& in, std::uint8_t tag, DecodedValue& value) {
    switch (tag) {
        case kTagIpAddress:
            value.type = kSnmpIpAddress;
            value.length = 4;
            value.bytes = in.Remaining() >= 5 && in.Expect(0x04) ? in.Take(4) : nullptr;
            return value.bytes != nullptr;
        case kTagCounter:
            value.type = kSnmpCounter;
            return ReadNumber(in, false, value);
        case kTagGauge:
            value.type = kSnmpGauge;
            return ReadNumber(in, false, value);
        case kTagTimeTicks:
            value.type = kSnmpTimeTicks;
            return ReadNumber(in, false, value);
        case kTagOpaque:
            value.type = kSnmpOpaque;
            return ReadOctets(in, value);
        default:
            return false;
    }
}

}  // namespace

bool ReadIntegerContent(BerReader& in, bool isSigned, std::uint32_t& value) {
    std::size_t length = 0;
    if (!in.ReadShortLength(length) || length == 0 || length > kMaxIntegerLength) {
        return false;
    }
    const std::uint8_t* content = in.Take(length);
    std::uint32_t number = isSigned && (content[0] & 0x80) != 0 ? UINT32_MAX : 0;
    for (std::size_t i = 0; i < length; ++i) {
        number = (number << 8) | content[i];
    }
    value = number;
    return true;
}

bool ReadOneByteInteger(BerReader& in, std::uint8_t& value) {
    constexpr std::uint8_t kOneByteInteger[] = {kTagInteger, 0x01};
    return in.ExpectBytes(kOneByteInteger, sizeof kOneByteInteger) && in.ReadByte(value);
}

bool ReadObjectId(BerReader& in, char* text, std::size_t& textLength) {
    BerReader content(nullptr, 0);
    if (!in.ReadElement(kTagObjectId, content)) {
        return false;
    }
    const std::size_t length = content.Remaining();
    return OidContentToText(content.Take(length), length, text, kMaxOidTextLength + 1, textLength);
}

bool DecodeValue(BerReader& in, DecodedValue& value) {
    std::uint8_t tag = 0;
    if (!in.ReadByte(tag) || (tag & kConstructedBit) != 0 || (tag & kMultiByteTag) == kMultiByteTag) {
        return false;
    }
    value.type = kSnmpTypeUnknown;
    value.bytes = nullptr;
    value.length = 0;
    switch (tag & kClassMask) {
        case kUniversal:
            return ReadUniversal(in, tag, value);
        case kApplication:
            return ReadApplication(in, tag, value);
        default:
            return ReadOctets(in, value);
    }
}

}  // namespace snmp
