#pragma once

#include <array>
#include <cstdint>

namespace snmp {

// This PC's addresses for the protocols that a print server is registered over.
struct LocalAddresses {
    std::uint8_t mask = 0;               // ProtocolMask bits still to register
    std::array<std::uint8_t, 4> ip{};    // network order; used with kProtocolIp
    std::array<std::uint8_t, 10> ipx{};  // network then node; used with kProtocolIpx
};

// This PC's addresses for the protocols of a device store entry's mask: an IP or IPX bit is cleared
// when this PC has no address of that kind; DLC needs none and stays.
LocalAddresses FindLocalAddresses(std::uint8_t entryMask);

}  // namespace snmp
