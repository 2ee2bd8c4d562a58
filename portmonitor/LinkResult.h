#pragma once

#include <cstdint>

// Results of the job stream links and of the print server connection's sends and receives.
using LinkResult = std::int32_t;

enum : LinkResult {
    kLinkConnected = 4000,
    kLinkNotConnected = 4001,  // not connected, or the connection was lost
    kLinkRefused = 4002,
    kLinkTimedOut = 4003,
    kLinkAlreadyConnected = 4004,
    kLinkFailed = 4005,
    kLinkBadAddress = 4006,
    kLinkNotAllSent = 4007,  // the peer took no byte within the link's rounds
    kLinkSent = 4008,
    kLinkNothingReceived = 4009,
    kLinkReceived = 4010,
    kLinkMessageTooLong = 4011,
    kLinkDlcFailed = 4012,
};
