#pragma once

#include <vector>

#include "simulator/Card.h"

namespace sim {

// Consoles listen for traps here.
inline constexpr uint16_t TrapPort = 162;
inline constexpr uint16_t TrapIpxSocket = 0x9010;
inline constexpr uint8_t TrapSap = 12;

// Specific trap numbers of a printer status change: 19 for a printer back in one of its working
// states (ready, off line, warming up, printing, asleep), 18 for any state that wants a person.
inline constexpr int32_t TrapStatusNormal = 19;
inline constexpr int32_t TrapStatusAlert = 18;

// The enterprise-specific traps that announce the card's printer status (first binding) to every
// destination of its tables: each valid registration row over the protocol it names (its
// preferred protocol when the row's mask has it, else the first of IP, IPX and DLC in the mask),
// and each active trap receiver of the SNMP page over UDP. One trap per distinct destination; a
// protocol whose faults make the card silent carries none.
std::vector<Outgoing> StatusTraps(Card& card);

}  // namespace sim
