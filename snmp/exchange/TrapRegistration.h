#pragma once

#include <cstdint>

namespace snmp {

inline constexpr std::int32_t kRegisterThisPc = 1;

// Registers this PC in the print server's trap-destination table under a new row, over the
// protocols of the print server's device store entry that this PC has an address for: the row is
// created, its address columns set in one request and the row made active. Returns the activating
// set's result; 25014 when the entry cannot be read, this PC has no address for any of them, the
// row cannot be created, or the address columns are refused (the half-made row is then deleted).
// Any mode but kRegisterThisPc fails with 25014 and sends nothing: no earlier row is known to remove.
std::int32_t RegisterTrapDestination(std::int32_t mode, const char* adapterName);

}  // namespace snmp
