#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/VarBind.h"

// One SNMPv1 trap. A decoded record is made of separate memory blocks (plat::AllocBlock): the record,
// the community (terminated), the enterprise text (512 bytes), the agent address (4 bytes), the
// binding array (one record per binding), each binding's object identifier text (terminated) and
// value (kTrapValueBlock bytes).
struct TrapParam {
    char* Community;
    std::uint16_t CommunityLength;
    char* Enterprise;  // dotted text
    std::uint16_t EnterpriseLength;
    std::uint8_t* AgentAddress;  // IPv4, network order
    std::uint8_t AgentAddressLength;
    std::uint8_t GenericTrap;    // 6 = enterprise-specific
    std::uint16_t SpecificTrap;  // low 16 bits of the specific-trap integer
    std::uint32_t TimeStamp;     // time ticks
    std::uint16_t BindingCount;
    VarBind* Bindings;
};

namespace snmp {

// The largest value a trap binding may carry; a longer one refuses the trap.
inline constexpr std::size_t kTrapValueBlock = 256;

// Frees a decoded record block by block; null is ignored. Inline, so that a library that receives
// traps frees them without linking the codec.
inline void FreeTrapParam(TrapParam* trap) {
    if (trap == nullptr) {
        return;
    }
    FreeBindingList(trap->Bindings, trap->BindingCount);
    plat::FreeBlock(trap->AgentAddress);
    plat::FreeBlock(trap->Enterprise);
    plat::FreeBlock(trap->Community);
    plat::FreeBlock(trap);
}

}  // namespace snmp
