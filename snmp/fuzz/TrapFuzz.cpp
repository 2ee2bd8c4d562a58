// Decodes a datagram as an SNMPv1 trap, as the trap listeners do with whatever reaches port 162.
#include "snmp/traps/TrapCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    snmp::FreeTrapParam(snmp::DecodeTrap(data, size));
    return 0;
}
