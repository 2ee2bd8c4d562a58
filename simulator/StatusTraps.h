#pragma once

#include <vector>

#include "simulator/Card.h"

namespace sim {

// Specific trap numbers of a printer status change: 19 for a printer back in one of its working
// states (ready, off line, warming up, printing, asleep), 18 for any state that wants a person.
inline constexpr int32_t TrapStatusNormal = 19;
inline constexpr int32_t TrapStatusAlert = 18;

// The enterprise-specific traps that announce the card's printer status (first binding) to every
// destination of its tables: each registered console and each active trap receiver of the SNMP
// page over UDP. One trap per distinct destination; a protocol whose faults make the card silent
// carries none.
std::vector<Outgoing> StatusTraps(Card& card);

}  // namespace sim
