#include "simulator/tests/SnmpTestMessages.h"

#include "simulator/WireBindings.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/traps/TrapCodec.h"

namespace sim::test {

namespace {

Pairs Collect(const VarBind* bindings, size_t count) {
    Pairs pairs;
    for (size_t i = 0; i < count; ++i) {
        ReceivedBinding binding = FromWire(bindings[i]);
        pairs.emplace_back(binding.oid ? binding.oid->ToText() : "?",
                           binding.value.value_or(MibValue::None()));
    }
    return pairs;
}

}  // namespace

std::vector<uint8_t> EncodeRequest(SnmpPduType type, int32_t requestId, const Pairs& bindings,
                                   const std::string& community) {
    WireBindings wire;
    for (const auto& [oid, value] : bindings) {
        wire.Add(*Oid::Parse(oid), value);
    }
    ReqParam request{};
    request.Community = const_cast<char*>(community.data());
    request.CommunityLength = static_cast<uint16_t>(community.size());
    request.PduType = type;
    request.RequestId = requestId;
    request.BindingCount = wire.Count();
    request.Bindings = wire.Data();
    std::vector<uint8_t> bytes(4096);
    size_t written = 0;
    if (snmp::EncodeMessage(request, bytes.data(), bytes.size(), written) != snmp::kEncodeOk) {
        return {};
    }
    bytes.resize(written);
    return bytes;
}

std::vector<uint8_t> EncodeGet(int32_t requestId, const std::vector<std::string>& oids) {
    Pairs bindings;
    for (const std::string& oid : oids) {
        bindings.emplace_back(oid, MibValue::None());
    }
    return EncodeRequest(kPduGet, requestId, bindings);
}

std::optional<Answer> DecodeAnswer(const std::vector<uint8_t>& bytes) {
    ReqParam* message = snmp::DecodeMessage(bytes.data(), bytes.size(), snmp::kAcceptResponse);
    if (message == nullptr) {
        return std::nullopt;
    }
    Answer answer{message->RequestId, message->ErrorStatus, message->ErrorIndex,
                  Collect(message->Bindings, message->BindingCount)};
    snmp::FreeReqParam(message);
    return answer;
}

std::optional<Trap> DecodeTrapMessage(const std::vector<uint8_t>& bytes) {
    TrapParam* decoded = snmp::DecodeTrap(bytes.data(), bytes.size());
    if (decoded == nullptr) {
        return std::nullopt;
    }
    Trap trap{
        std::string(decoded->Enterprise, decoded->EnterpriseLength),
        std::vector<uint8_t>(decoded->AgentAddress, decoded->AgentAddress + decoded->AgentAddressLength),
        decoded->GenericTrap, decoded->SpecificTrap, Collect(decoded->Bindings, decoded->BindingCount)};
    snmp::FreeTrapParam(decoded);
    return trap;
}

}  // namespace sim::test
