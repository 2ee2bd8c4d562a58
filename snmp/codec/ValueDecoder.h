#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/BerReader.h"
#include "snmp/codec/ReqParam.h"

namespace snmp {

// One decoded value. Octet strings, opaque and unknown types point into the message; numbers
// (host order) and object identifier texts are made in `storage`.
struct DecodedValue {
    std::int32_t type = 0;  // SnmpValueType
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    alignas(std::uint32_t) std::uint8_t storage[kMaxOidTextLength + 1];
};

// Reads one value element: identifier, length and content. Refuses constructed values, multi-byte
// tags, universal tags other than the five SNMPv1 ones and application tags above 4. Context and
// private tags decode as type 0 with their raw bytes.
bool DecodeValue(BerReader& in, DecodedValue& value);

// Reads an INTEGER-like content after its identifier: a short-form length of 1 to 5 bytes, as a
// two's-complement number when `isSigned` (the first byte's sign extends), else unsigned. Only the
// low 32 bits are kept.
bool ReadIntegerContent(BerReader& in, bool isSigned, std::uint32_t& value);

// Reads 02 01 and one byte: the one-byte INTEGER of the generic trap.
bool ReadOneByteInteger(BerReader& in, std::uint8_t& value);

// Reads an OBJECT IDENTIFIER element (tag, length, content) as terminated text into `text`
// (kMaxOidTextLength + 1 bytes).
bool ReadObjectId(BerReader& in, char* text, std::size_t& textLength);

}  // namespace snmp
