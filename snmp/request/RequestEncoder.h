#pragma once

#include <cstddef>
#include <cstdint>

namespace snmp {

// The operations of the text interface.
enum SnmpOperation : std::int32_t {
    kOperationGet = 0,
    kOperationGetNext = 1,
    kOperationSet = 2,
};

// A request in the text form the library's exports take.
struct RequestText {
    std::int32_t operation = 0;     // 0 get, 1 get-next, 2 set
    const char* oidList = nullptr;  // OidList: dotted identifiers joined by commas
    std::size_t oidLength = 0;      // bytes of oidList that may be read
    const char* values = nullptr;   // SnmpValueText of a set; not read for get and get-next
    std::size_t valueSize = 0;      // bytes of values that may be read (a set) or the answer's room
    std::int32_t count = 0;         // number of bindings, 0 to kMaxBindings
};

struct EncodedRequest {
    std::uint8_t* message = nullptr;  // a memory block (plat::AllocBlock) that the caller frees
    std::uint16_t length = 0;
    std::int32_t requestId = 0;  // the id this request carries, to match its answer against
};

// Builds the request with the library's community and the process's next request id
// (plat::NextRequestId), and encodes it into a block of (oidLength + valueSize) x 2 + 50 bytes. The
// request id counter rises even when a later step fails. Gives an SnmpResult: 0, 25003 (bindings), 25005
// (memory), 25007 (operation) or 25008 (an object identifier or value text that cannot be read or encoded, or
// a message too large).
std::int32_t EncodeRequest(const RequestText& text, EncodedRequest& out);

}  // namespace snmp
