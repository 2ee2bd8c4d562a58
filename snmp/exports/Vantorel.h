#pragma once

#include <cstdint>

#include "snmp/codec/ReqParam.h"
#include "snmp/traps/TrapParam.h"

// Exported functions of the SNMP library (libvantorel.so). Records and value blocks that they give
// are memory blocks (plat::AllocBlock) that the receiver frees: a ReqParam with HelperFreeReqParam,
// a TrapParam with snmp::FreeTrapParam (TrapParam.h), any other block with plat::FreeBlock.
// No exception leaves an export: the exchanges answer 25005 for an allocation failure, the other
// exports their failure result (null, 25009, 1).
#define VANTOREL_API __attribute__((visibility("default")))

extern "C" {

// One get (operation 0), get-next (1) or set (2) of `count` bindings with the print server whose
// device store entry `adapterName` names (12 hex digits). `oidList` holds the object identifiers
// joined by commas, read within `oidLength` bytes, and receives the answer's; `valueText` holds a
// set's values (read within *valueSize bytes) and receives the answer's values as an SnmpValueText.
// *valueSize is in: the value buffer's capacity; out, once an answer was written: the value text's
// length, or the room it needs when it does not fit. Returns 0; 25003 to 25008 when the request
// cannot be built; 25009 no decodable answer; 25010 no answer; 25011 the print server refused
// (any error status); 25012 a get or get-next answer that does not fit, or holds a value without a
// text form; or the device channel's own code when the request cannot be sent (20001 to 20009, or
// the DLC transport's result).
VANTOREL_API std::int32_t HelperSNMPTransact(const char* adapterName, std::int32_t operation, char* oidList,
                                             std::int32_t oidLength, char* valueText, std::int32_t* valueSize,
                                             std::int32_t count);

// The same exchange; the answer's octet strings come as upper-case hex digits with the digit count
// ("2,12,0040AF0A1B2C"), and the sizes and 25012 are those of that text.
VANTOREL_API std::int32_t HelperSNMPTransactAscii(const char* adapterName, std::int32_t operation,
                                                  char* oidList, std::int32_t oidLength, char* valueText,
                                                  std::int32_t* valueSize, std::int32_t count);

// A get of every object of the predefined group `groupIndex` (0 to 25), its values written into
// `valueText` in the group's order; *valueSize and the result as HelperSNMPTransact, and 25003 for
// an index outside 0 to 25.
VANTOREL_API std::int32_t HelperGetSNMPObjects(const char* adapterName, std::int32_t groupIndex,
                                               char* valueText, std::int32_t* valueSize);

// Mode 1 registers this PC as receiver of the print server's status traps in a new row of its
// trap-destination table. The last two arguments are not read. Returns the result of the set that
// makes the row active; 25014 when the registration could not be made (a half-made row is deleted
// first), and for any other mode.
VANTOREL_API std::int32_t HelperSNMPRegisterTrapDestination(std::int32_t mode, const char* adapterName,
                                                            std::int32_t unused1, std::int32_t unused2);

// Sends the print server a get of its printer status object, which keeps this PC's trap
// registration alive; no answer is awaited. Returns 0 when sent, else the send's result.
VANTOREL_API std::int32_t HelperTrapKeepAlive(const char* adapterName);

// Builds a get (operation 0), get-next (1) or set (2) request for `count` bindings without sending
// it: the object identifiers from `oidList` (read within `oidLength` bytes), a set's values from
// `valueText` (read within *valueSize bytes). Returns the encoded message in a memory block that
// the caller frees, its length in *outLength; null on any failure. Uses up one request id: the
// process's next, which plat::LastRequestId gives the calling thread afterwards.
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
