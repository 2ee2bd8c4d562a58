#pragma once

#include <cstdint>

namespace sim {

// What a card's agent has seen and sent; read back through the MIB-II snmp and udp groups.
struct AgentCounters {
    uint32_t inPackets = 0;
    uint32_t outPackets = 0;
    uint32_t inBadVersions = 0;
    uint32_t inBadCommunityNames = 0;
    uint32_t inBadCommunityUses = 0;
    uint32_t inParseErrors = 0;
    uint32_t inTotalRequestVars = 0;
    uint32_t inTotalSetVars = 0;
    uint32_t inGetRequests = 0;
    uint32_t inGetNexts = 0;
    uint32_t inSetRequests = 0;
    uint32_t outTooBigs = 0;
    uint32_t outNoSuchNames = 0;
    uint32_t outBadValues = 0;
    uint32_t outGenErrors = 0;
    uint32_t outGetResponses = 0;
    uint32_t outTraps = 0;
    uint32_t udpIn = 0;
    uint32_t udpOut = 0;
};

}  // namespace sim
