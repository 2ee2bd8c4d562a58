#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/request/AnswerFormatter.h"

namespace snmp {

// One get, get-next or set with the print server named by its adapter name, in the text form of
// the library's exports. The answer is written back into the same buffers: its object identifiers
// into `oidList`, its values into `values`.
struct Transaction {
    const char* adapterName = nullptr;  // 12 hex digits naming the device store entry
    std::int32_t operation = 0;         // SnmpOperation
    char* oidList = nullptr;            // OidList, read within and answered into oidSize bytes
    std::size_t oidSize = 0;
    char* values = nullptr;  // a set's SnmpValueText, read within valueSize; the answer's values
    std::size_t valueSize = 0;
    std::int32_t count = 0;               // number of bindings
    bool waitForAnswer = true;            // false: send the request and return
    OctetForm octets = OctetForm::Bytes;  // how the answer's octet strings are written
};

// Runs the exchange over a DeviceChannel: the request goes out, and an answer that does not decode
// or carries another request id starts a new round (1 + "UdpTotalRetries" rounds); silence ends the
// exchange at once, as the channel has already resent and fallen back to other protocols. Returns
// an SnmpResult or the channel's send failure: 0; 25003 to 25008 when the request cannot be built;
// 25009 no decodable GetResponse; 25010 no adapter name, no answer or only other requests' answers;
// 25011 any non-zero error status; 25012 a get or get-next answer that does not fit or holds a value
// without a text form (a set's echo is not needed: 0). When the answer was written, `answerSize`
// receives the value text's length, or the room it needs when it does not fit.
std::int32_t RunTransaction(const Transaction& transaction, std::size_t& answerSize);

}  // namespace snmp
