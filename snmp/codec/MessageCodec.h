#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/ReqParam.h"

namespace snmp {

enum EncodeStatus : std::int32_t {
    kEncodeOk = 0,
    kEncodeCannotBuild = 1,  // the record cannot make a message (PDU type, no memory)
    kEncodeCannotWrite = 2,  // does not fit, an element is over kMaxElementContent, or a bad binding
};

// Encodes an SNMPv1 message of any PDU type. Get and get-next carry an empty octet string in place
// of every value; response and set carry the bindings' values. Error status and error index are
// written from the record. On kEncodeOk `written` holds the message's length, at the start of buffer.
EncodeStatus EncodeMessage(const ReqParam& message, std::uint8_t* buffer, std::size_t capacity,
                           std::size_t& written);

inline constexpr std::uint32_t PduTypeBit(SnmpPduType type) {
    return 1u << type;
}
inline constexpr std::uint32_t kAcceptResponse = PduTypeBit(kPduResponse);
inline constexpr std::uint32_t kAcceptRequests =
    PduTypeBit(kPduGet) | PduTypeBit(kPduGetNext) | PduTypeBit(kPduSet);

// Decodes an SNMPv1 message whose PDU type is one of `acceptedPduTypes` (a mask of PduTypeBit).
// Returns a new record (free with FreeReqParam), or null when the message breaks any rule or limit.
ReqParam* DecodeMessage(const std::uint8_t* data, std::size_t length, std::uint32_t acceptedPduTypes);

}  // namespace snmp
