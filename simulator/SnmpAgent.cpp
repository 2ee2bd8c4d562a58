#include "simulator/SnmpAgent.h"

#include <memory>

#include "simulator/WireBindings.h"
#include "snmp/codec/MessageCodec.h"

namespace sim {

namespace {

struct FreeMessage {
    void operator()(ReqParam* message) const { snmp::FreeReqParam(message); }
};
using Request = std::unique_ptr<ReqParam, FreeMessage>;

// What the agent answers: an error names a binding and echoes the request's bindings.
struct Verdict {
    ErrorStatus status = ErrorStatus::NoError;
    uint16_t index = 0;
    bool silent = false;
};

void EchoAll(const ReqParam& request, WireBindings& out) {
    for (uint16_t i = 0; i < request.BindingCount; ++i) {
        out.Echo(request.Bindings[i]);
    }
}

Verdict Fail(ErrorStatus status, size_t index) {
    return Verdict{status, static_cast<uint16_t>(index), false};
}

Verdict Read(Card& card, const ReqParam& request, WireBindings& out) {
    bool next = request.PduType == kPduGetNext;
    for (uint16_t i = 0; i < request.BindingCount; ++i) {
        ReceivedBinding binding = FromWire(request.Bindings[i]);
        if (!binding.oid) {
            return Fail(ErrorStatus::NoSuchName, i + 1u);
        }
        if (next) {
            auto found = card.Objects().Next(*binding.oid);
            if (!found) {
                return Fail(ErrorStatus::NoSuchName, i + 1u);
            }
            out.Add(found->first, found->second);
        } else {
            std::optional<MibValue> value = card.Objects().Get(*binding.oid);
            if (!value) {
                return Fail(ErrorStatus::NoSuchName, i + 1u);
            }
            out.Add(*binding.oid, *value);
        }
    }
    card.Counters().inTotalRequestVars += request.BindingCount;
    return Verdict{};
}

Verdict Write(Card& card, const ReqParam& request, const Peer& from, WireBindings& out) {
    std::vector<Binding> bindings;
    for (uint16_t i = 0; i < request.BindingCount; ++i) {
        ReceivedBinding binding = FromWire(request.Bindings[i]);
        if (!binding.oid) {
            return Fail(ErrorStatus::NoSuchName, i + 1u);
        }
        if (!binding.value) {
            return Fail(ErrorStatus::BadValue, i + 1u);
        }
        bindings.push_back({*binding.oid, *binding.value});
    }
    CardSetResult result = card.Set(std::move(bindings), from);
    if (result.ignored) {
        return Verdict{ErrorStatus::NoError, 0, true};
    }
    if (result.outcome.status != ErrorStatus::NoError) {
        return Fail(result.outcome.status, result.outcome.index);
    }
    EchoAll(request, out);
    card.Counters().inTotalSetVars += request.BindingCount;
    return Verdict{};
}

void CountRequest(AgentCounters& counters, int32_t pduType) {
    if (pduType == kPduGet) {
        ++counters.inGetRequests;
    } else if (pduType == kPduGetNext) {
        ++counters.inGetNexts;
    } else {
        ++counters.inSetRequests;
    }
}

void CountError(AgentCounters& counters, ErrorStatus status) {
    switch (status) {
        case ErrorStatus::TooBig:
            ++counters.outTooBigs;
            break;
        case ErrorStatus::NoSuchName:
            ++counters.outNoSuchNames;
            break;
        case ErrorStatus::BadValue:
            ++counters.outBadValues;
            break;
        case ErrorStatus::GenErr:
            ++counters.outGenErrors;
            break;
        default:
            break;
    }
}

std::optional<std::vector<uint8_t>> Encode(const ReqParam& request, int32_t requestId, Verdict verdict,
                                           WireBindings& bindings) {
    ReqParam answer{};
    answer.Community = request.Community;
    answer.CommunityLength = request.CommunityLength;
    answer.PduType = kPduResponse;
    answer.RequestId = requestId;
    answer.ErrorStatus = static_cast<uint8_t>(verdict.status);
    answer.ErrorIndex = verdict.index;
    answer.BindingCount = bindings.Count();
    answer.Bindings = bindings.Data();
    std::vector<uint8_t> bytes(MaxMessageSize);
    size_t written = 0;
    if (snmp::EncodeMessage(answer, bytes.data(), bytes.size(), written) != snmp::kEncodeOk) {
        return std::nullopt;
    }
    bytes.resize(written);
    return bytes;
}

void Damage(const FaultSwitches& faults, std::vector<uint8_t>& bytes) {
    if (faults.truncated) {
        bytes.resize(bytes.size() / 2);
    }
    if (faults.garbled) {
        for (size_t i = 2; i < bytes.size(); ++i) {
            bytes[i] ^= 0xA5;
        }
    }
}

}  // namespace

std::optional<Outgoing> AnswerRequest(Card& card, std::span<const uint8_t> datagram, const Peer& from) {
    FaultState& faults = card.Faults(from.protocol);
    const FaultSwitches& switches = faults.Switches();
    if (switches.silent || faults.TakeDrop()) {
        return std::nullopt;
    }
    AgentCounters& counters = card.Counters();
    bool udp = from.protocol == Protocol::Ip;
    counters.udpIn += udp ? 1 : 0;
    ++counters.inPackets;
    Request request(snmp::DecodeMessage(datagram.data(), datagram.size(), snmp::kAcceptRequests));
    if (!request) {
        ++counters.inParseErrors;
        return std::nullopt;
    }
    std::string_view community(request->Community, request->CommunityLength);
    CommunityRight right = card.RightOf(community);
    bool writes = request->PduType == kPduSet;
    if (right == CommunityRight::None || (writes && right != CommunityRight::ReadWrite)) {
        ++(right == CommunityRight::None ? counters.inBadCommunityNames : counters.inBadCommunityUses);
        return std::nullopt;
    }
    CountRequest(counters, request->PduType);

    WireBindings bindings;
    Verdict verdict;
    if (switches.errorStatus != 0) {
        verdict = Fail(static_cast<ErrorStatus>(switches.errorStatus), 1);
    } else {
        verdict = writes ? Write(card, *request, from, bindings) : Read(card, *request, bindings);
    }
    if (verdict.silent) {
        return std::nullopt;
    }
    // Wraps round past the largest id rather than overflow.
    auto requestId =
        static_cast<int32_t>(static_cast<uint32_t>(request->RequestId) + (switches.wrongRequestId ? 1u : 0u));
    std::optional<std::vector<uint8_t>> bytes;
    if (verdict.status == ErrorStatus::NoError) {
        bytes = Encode(*request, requestId, verdict, bindings);
        if (!bytes) {
            verdict = Fail(ErrorStatus::TooBig, 0);
        }
    }
    if (!bytes) {
        WireBindings echoed;
        EchoAll(*request, echoed);
        bytes = Encode(*request, requestId, verdict, echoed);
        if (!bytes) {
            return std::nullopt;
        }
    }
    CountError(counters, verdict.status);
    ++counters.outGetResponses;
    ++counters.outPackets;
    counters.udpOut += udp ? 1 : 0;
    Damage(switches, *bytes);
    return Outgoing{from, std::move(*bytes), switches.delayMs};
}

}  // namespace sim
