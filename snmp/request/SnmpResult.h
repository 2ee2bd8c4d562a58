#pragma once

#include <cstdint>

// Result codes of the SNMP library; the console shows each as the string-table message of the same id.
enum SnmpResult : std::int32_t {
    kSnmpOk = 0,
    kSnmpBadVarBinds = 25003,       // the bindings could not be built
    kSnmpBadCommunity = 25004,      // the community could not be set
    kSnmpNoMemory = 25005,          // no memory for the request message
    kSnmpBadRequestId = 25006,      // the request id could not be set
    kSnmpBadCommand = 25007,        // the operation is not get, get-next or set
    kSnmpEncodeFailure = 25008,     // the request could not be encoded
    kSnmpDecodeFailure = 25009,     // the answer is not a decodable GetResponse
    kSnmpNoResponse = 25010,        // nothing received, or another request's answer
    kSnmpAgentError = 25011,        // the agent answered with a non-zero error status
    kSnmpBufferTooSmall = 25012,    // the answer does not fit, or has a value without a text form
    kSnmpTrapRegistration = 25014,  // trap destination registration failed
};
