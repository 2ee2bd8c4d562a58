#pragma once

#include <cstdint>

// Result codes of the configuration helper library's exports; the console shows a failing one as the
// string-table message with the same id.
using HelperResult = std::int32_t;

enum : HelperResult {
    kHelperOk = 0,
    kHelperFailed = 1,  // validation and TFTP parameters: not reached, not decodable, not sent
    kHelperNetworkNotReady = 20011,
    kHelperSocketStartFailed = 20012,
    kHelperNotPrintServer = 20016,
    kHelperDecodeFailed = 20023,
    kHelperBufferTooSmall = 20024,
    kHelperNoAnswer = 20028,
    kHelperNoMemory = 20040,
    kHelperStoreFailed = 20041,
};
