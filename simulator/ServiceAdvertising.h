#pragma once

#include <optional>
#include <span>
#include <vector>

#include "simulator/Card.h"

namespace sim {

// IPX service advertising as a print server card takes part in it.
inline constexpr uint16_t ServiceSocket = 0x452;
inline constexpr uint16_t SnmpIpxSocket = 0x900F;
inline constexpr uint16_t PrintServerType = 0x0922;

// The answer to a service query (a general or nearest service query for the print server type or
// for every type): one 64-byte entry with the card's type, name, IPX address and SNMP socket.
// Nullopt for anything else.
std::optional<std::vector<uint8_t>> AnswerServiceQuery(const Card& card, std::span<const uint8_t> query);

}  // namespace sim
