// Decodes a datagram as an SNMPv1 trap, as the trap listeners do with whatever reaches port 162. A
// trap that decodes and encodes again must decode to the same record.
#include <cstdlib>
#include <vector>

#include "snmp/fuzz/SameRecord.h"
#include "snmp/traps/TrapCodec.h"

namespace {

bool SameTrap(const TrapParam& a, const TrapParam& b) {
    using snmp::fuzz::SameBytes;
    return SameBytes(a.Community, a.CommunityLength, b.Community, b.CommunityLength) &&
           SameBytes(a.Enterprise, a.EnterpriseLength, b.Enterprise, b.EnterpriseLength) &&
           SameBytes(a.AgentAddress, a.AgentAddressLength, b.AgentAddress, b.AgentAddressLength) &&
           a.GenericTrap == b.GenericTrap && a.SpecificTrap == b.SpecificTrap && a.TimeStamp == b.TimeStamp &&
           a.BindingCount == b.BindingCount &&
           snmp::fuzz::SameBindings(a.Bindings, b.Bindings, a.BindingCount, true);
}

void CheckRoundTrip(const TrapParam& decoded) {
    std::vector<std::uint8_t> encoded(70000);
    std::size_t written = 0;
    if (snmp::EncodeTrap(decoded, encoded.data(), encoded.size(), written) != snmp::kEncodeOk) {
        return;  // the encoder's limits are narrower than the decoder's
    }
    TrapParam* again = snmp::DecodeTrap(encoded.data(), written);
    if (again == nullptr || !SameTrap(decoded, *again)) {
        std::abort();
    }
    snmp::FreeTrapParam(again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TrapParam* trap = snmp::DecodeTrap(data, size);
    if (trap != nullptr) {
        CheckRoundTrip(*trap);
    }
    snmp::FreeTrapParam(trap);
    return 0;
}
