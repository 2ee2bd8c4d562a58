#pragma once

#include <cstdint>

#include "snmp/codec/ReqParam.h"
#include "snmp/traps/TrapParam.h"

// Exported functions of the SNMP library (libvantorel.so). Records and value blocks that they give
// are memory blocks (plat::AllocBlock) that the receiver frees: a ReqParam with HelperFreeReqParam,
// a TrapParam with snmp::FreeTrapParam (TrapParam.h), any other block with plat::FreeBlock.
#define VANTOREL_API __attribute__((visibility("default")))

extern "C" {

// Builds a get (operation 0), get-next (1) or set (2) request for `count` bindings without sending
// it: the object identifiers from `oidList` (read within `oidLength` bytes), a set's values from
// `valueText` (read within *valueSize bytes). Returns the encoded message in a memory block that
// the caller frees, its length in *outLength; null on any failure. Uses up one request id.
VANTOREL_API std::uint8_t* HelperFormSNMPPacket(std::int32_t operation, char* oidList, std::int32_t oidLength,
                                                char* valueText, std::int32_t* valueSize, std::int32_t count,
                                                std::int32_t* outLength);

// Writes a received GetResponse as text: its object identifiers into `oidList` and its values into
// `valueText` (an SnmpValueText). Sizes are in: the buffers' capacities; out: the OidList room
// needed plus one, and the value text's length (or, when it does not fit, the room it needs).
// Returns 0, 25009 (not a decodable GetResponse), 25011 (non-zero error status) or 25012 (does not
// fit, or a value without a text form).
VANTOREL_API std::int32_t HelperSNMPDecodePacket(const std::uint8_t* packet, std::int32_t packetLength,
                                                 char* oidList, std::int32_t* oidSize, char* valueText,
                                                 std::int32_t* valueSize);

// Encodes a filled get, get-next or set record. *length is in: the buffer's size; out: the
// message's length. Returns 0; 1 when the record cannot make a message (a response, no record);
// 2 when it does not fit, a part is over 256 content bytes, or a binding cannot be encoded.
VANTOREL_API std::int32_t HelperSnmpEncodePdu(const ReqParam* request, std::uint8_t* buffer,
                                              std::uint16_t* length);

// Decodes a GetResponse into a new record, or null when it breaks any rule or limit.
VANTOREL_API ReqParam* HelperSnmpDecodePdu(const std::uint8_t* buffer, std::int32_t length);

// Frees a decoded record block by block; null is ignored.
VANTOREL_API void HelperFreeReqParam(ReqParam* record);

// Decodes an SNMPv1 trap into a new record, or null when it is not one or breaks any rule or limit.
VANTOREL_API TrapParam* HelperSnmpDecodeTrapPdu(const std::uint8_t* buffer, std::int32_t length);

// Reads one item of an SnmpValueText at *cursor into a new memory block holding its binary value.
// *length is in: the bytes of text from *cursor that may be read (a byte count beyond them fails);
// out: the value's length. *type receives the item's code (codes 10 to 15 give 2). On success the
// cursor moves past the item, or becomes null when the item ended the text. Returns null for codes
// without a value (4, 9, unknown codes; the cursor then stands after the code's comma) and on
// failure (the cursor stays, *length becomes 0).
VANTOREL_API void* HelperDecodeValue(char** cursor, std::int32_t* type, std::int32_t* length);

}  // extern "C"
