#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "snmp/exchange/LocalAddresses.h"

namespace snmp {

// The row status values a registration writes into the print server's trap-destination table.
enum RegistrationRowStatus : std::int32_t {
    kRowActive = 1,
    kRowCreate = 2,
    kRowDelete = 4,
};

// One set, in the text form of the library's exports.
struct SetRequest {
    std::string oidList;
    std::string values;  // an SnmpValueText; may hold any byte inside an octet string
    std::int32_t count = 0;
};

// The row index: six decimal arcs, one per byte ("12.0.255.7.33.4").
std::string RowIndexText(const std::array<std::uint8_t, 6>& bytes);

// A set of the row's status column.
SetRequest RowStatusSet(const std::string& rowIndex, RegistrationRowStatus status);

// One set of the row's address columns, in this order: the IP address (with kProtocolIp), the first
// four bytes of the IPX address, its network number (with kProtocolIpx), the protocol mask and the
// print server's preferred protocol.
SetRequest AddressColumnsSet(const std::string& rowIndex, const LocalAddresses& local,
                             std::uint8_t preferredProtocol);

}  // namespace snmp
