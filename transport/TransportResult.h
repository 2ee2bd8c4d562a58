#pragma once

#include <cstdint>

// Result codes of the datagram transports and the device channel (the DLC transport answers the DLC
// command layer's own codes, DlcResult).
using TransportResult = std::int32_t;

enum : TransportResult {
    kTransportOk = 0,
    kTransportReceiveFailed = 20001,  // a receive failed and none of the attempts succeeded
    kTransportTimedOut = 20002,       // no datagram arrived within the attempts
    kTransportSendFailed = 20004,     // every send try failed, or the destination is unusable
    kTransportBindFailed = 20006,     // the bind failed; the socket is closed
    kTransportNotOpen = 20009,        // not open, or the connection was aborted or reset
    kDeviceStoreFailed = 20041,       // the device store entry cannot be read
};
