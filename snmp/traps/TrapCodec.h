#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/MessageCodec.h"
#include "snmp/traps/TrapParam.h"

namespace snmp {

// Decodes an SNMPv1 Trap-PDU. Returns a new record (free with FreeTrapParam), or null when the
// datagram is not a trap or breaks any rule or limit. A trap comes unasked from any host.
TrapParam* DecodeTrap(const std::uint8_t* data, std::size_t length);

// Encodes an SNMPv1 trap from the record (what a print server sends; the simulator and the tests
// use it). The agent address must be 4 bytes.
EncodeStatus EncodeTrap(const TrapParam& trap, std::uint8_t* buffer, std::size_t capacity,
                        std::size_t& written);

}  // namespace snmp
