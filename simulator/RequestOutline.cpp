#include "simulator/RequestOutline.h"

#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/ReqParam.h"
#include "snmp/codec/ValueDecoder.h"

namespace sim {

namespace {

bool ReadInteger(snmp::BerReader& in, uint32_t& value) {
    return in.Expect(snmp::kTagInteger) && snmp::ReadIntegerContent(in, true, value);
}

bool IsRequestPdu(int type) {
    return type == kPduGet || type == kPduGetNext || type == kPduSet;
}

// Counts the bindings of a list whose every element is a sequence.
std::optional<size_t> CountBindings(snmp::BerReader list) {
    size_t count = 0;
    snmp::BerReader binding(nullptr, 0);
    while (!list.AtEnd()) {
        if (!list.ReadElement(snmp::kTagSequence, binding)) {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}

// Reads the PDU of a get, get-next or set request into the outline.
void OutlinePdu(snmp::BerReader& in, RequestOutline& outline) {
    uint8_t tag = 0;
    std::size_t length = 0;
    uint32_t requestId = 0;
    snmp::BerReader ignored(nullptr, 0);
    snmp::BerReader list(nullptr, 0);
    if (!in.ReadByte(tag) || !IsRequestPdu(tag - snmp::kTagPduBase) || !in.ReadLength(length) ||
        length != in.Remaining() || !ReadInteger(in, requestId) ||
        !in.ReadElement(snmp::kTagInteger, ignored) || !in.ReadElement(snmp::kTagInteger, ignored) ||
        !in.ReadElement(snmp::kTagSequence, list, true)) {
        return;
    }
    std::optional<size_t> count = CountBindings(list);
    if (!count) {
        return;
    }
    outline.pduType = tag - snmp::kTagPduBase;
    outline.requestId = static_cast<int32_t>(requestId);
    outline.bindingCount = *count;
}

}  // namespace

std::optional<RequestOutline> OutlineRequest(std::span<const uint8_t> datagram) {
    snmp::BerReader whole(datagram.data(), datagram.size());
    snmp::BerReader message(nullptr, 0);
    snmp::BerReader community(nullptr, 0);
    RequestOutline outline;
    if (!whole.ReadElement(snmp::kTagSequence, message, true) || !ReadInteger(message, outline.version) ||
        !message.ReadElement(snmp::kTagOctetString, community)) {
        return std::nullopt;
    }
    const size_t communityLength = community.Remaining();
    outline.community =
        std::string_view(reinterpret_cast<const char*>(community.Take(communityLength)), communityLength);
    OutlinePdu(message, outline);
    return outline;
}

}  // namespace sim
