// Decodes a datagram as an SNMPv1 request and as a response. A message that decodes and encodes
// again must decode to the same record: encoder and decoder agree.
#include <cstdlib>
#include <vector>

#include "snmp/codec/MessageCodec.h"
#include "snmp/fuzz/SameRecord.h"

namespace {

bool SameMessage(const ReqParam& a, const ReqParam& b) {
    const bool withValues = a.PduType == kPduResponse || a.PduType == kPduSet;
    return snmp::fuzz::SameBytes(a.Community, a.CommunityLength, b.Community, b.CommunityLength) &&
           a.PduType == b.PduType && a.RequestId == b.RequestId && a.ErrorStatus == b.ErrorStatus &&
           a.ErrorIndex == b.ErrorIndex && a.BindingCount == b.BindingCount &&
           snmp::fuzz::SameBindings(a.Bindings, b.Bindings, a.BindingCount, withValues);
}

void CheckRoundTrip(const ReqParam& decoded, std::uint32_t accepted) {
    std::vector<std::uint8_t> encoded(70000);
    std::size_t written = 0;
    if (snmp::EncodeMessage(decoded, encoded.data(), encoded.size(), written) != snmp::kEncodeOk) {
        return;  // the encoder's limits are narrower than the decoder's
    }
    ReqParam* again = snmp::DecodeMessage(encoded.data(), written, accepted);
    if (again == nullptr || !SameMessage(decoded, *again)) {
        std::abort();
    }
    snmp::FreeReqParam(again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::uint32_t accepted : {snmp::kAcceptRequests, snmp::kAcceptResponse}) {
        ReqParam* message = snmp::DecodeMessage(data, size, accepted);
        if (message != nullptr) {
            CheckRoundTrip(*message, accepted);
        }
        snmp::FreeReqParam(message);
    }
    return 0;
}
