#pragma once

#include <cstdint>

// The protocols a print server speaks, as bits of "cProtocols"; "pProtocol" holds one of them.
enum ProtocolMask : std::uint8_t {
    kProtocolIpx = 1,
    kProtocolIp = 2,
    kProtocolDlc = 4,
};
