#include "simulator/SnmpAgent.h"

#include <memory>

#include "simulator/ReadOnlyView.h"
#include "simulator/RequestOutline.h"
#include "simulator/WireBindings.h"
#include "snmp/codec/MessageCodec.h"

namespace sim {

namespace {

struct FreeMessage {
    void operator()(ReqParam* message) const { snmp::FreeReqParam(message); }
};
using Request = std::unique_ptr<ReqParam, FreeMessage>;

constexpr uint32_t SnmpVersion1 = 0;  // the version field of an SNMPv1 message

// What the checks and the answer need of a request.
struct RequestHead {
    std::string_view community;
    int32_t pduType = kPduGet;
    int32_t requestId = 0;
};

RequestHead HeadOf(const ReqParam& request) {
    return RequestHead{std::string_view(request.Community, request.CommunityLength), request.PduType,
                       request.RequestId};
}

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

// The next object after `oid` that the request may see.
std::optional<std::pair<Oid, MibValue>> NextVisible(const Mib& objects, const Oid& oid, bool seesSecrets) {
    auto found = objects.Next(oid);
    while (found && !seesSecrets && IsSecret(found->first)) {
        found = objects.Next(found->first);
    }
    return found;
}

Verdict Read(Card& card, const ReqParam& request, bool seesSecrets, WireBindings& out) {
    bool next = request.PduType == kPduGetNext;
    for (uint16_t i = 0; i < request.BindingCount; ++i) {
        ReceivedBinding binding = FromWire(request.Bindings[i]);
        if (!binding.oid) {
            return Fail(ErrorStatus::NoSuchName, i + 1u);
        }
        if (next) {
            auto found = NextVisible(card.Objects(), *binding.oid, seesSecrets);
            if (!found) {
                return Fail(ErrorStatus::NoSuchName, i + 1u);
            }
            out.Add(found->first, found->second);
        } else {
            std::optional<MibValue> value;
            if (seesSecrets || !IsSecret(*binding.oid)) {
                value = card.Objects().Get(*binding.oid);
            }
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

std::optional<std::vector<uint8_t>> Encode(const RequestHead& head, int32_t requestId, Verdict verdict,
                                           WireBindings& bindings) {
    ReqParam answer{};
    answer.Community = const_cast<char*>(head.community.data());
    answer.CommunityLength = static_cast<uint16_t>(head.community.size());
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

// An error answer echoes the request's bindings; when they do not fit, it becomes tooBig without them.
std::optional<std::vector<uint8_t>> EncodeError(const RequestHead& head, const ReqParam* request,
                                                int32_t requestId, Verdict& verdict) {
    WireBindings echoed;
    if (request != nullptr) {
        EchoAll(*request, echoed);
    }
    std::optional<std::vector<uint8_t>> bytes = Encode(head, requestId, verdict, echoed);
    if (bytes) {
        return bytes;
    }
    verdict = Fail(ErrorStatus::TooBig, 0);
    WireBindings none;
    return Encode(head, requestId, verdict, none);
}

// A request the codec refused is counted as one of another SNMP version or as a parse error, except
// a request with more bindings than the codec takes, whose head is given for a tooBig answer.
std::optional<RequestHead> OversizedRequest(AgentCounters& counters, std::span<const uint8_t> datagram) {
    std::optional<RequestOutline> outline = OutlineRequest(datagram);
    if (outline && outline->version != SnmpVersion1) {
        ++counters.inBadVersions;
        return std::nullopt;
    }
    if (!outline || !outline->pduType || outline->bindingCount <= snmp::kMaxBindings) {
        ++counters.inParseErrors;
        return std::nullopt;
    }
    return RequestHead{outline->community, *outline->pduType, outline->requestId};
}

// What the card does with a request it accepted; a request it could not decode is too big.
Verdict Carry(Card& card, const ReqParam* request, bool seesSecrets, const FaultSwitches& switches,
              const Peer& from, WireBindings& out) {
    if (request == nullptr) {
        return Fail(ErrorStatus::TooBig, 0);
    }
    if (switches.errorStatus != 0) {
        return Fail(static_cast<ErrorStatus>(switches.errorStatus), 1);
    }
    if (request->PduType == kPduSet) {
        if (switches.setErrorStatus != 0) {
            return Fail(static_cast<ErrorStatus>(switches.setErrorStatus), 1);
        }
        return Write(card, *request, from, out);
    }
    if (request->PduType == kPduGetNext && switches.nextErrorStatus != 0) {
        return Fail(static_cast<ErrorStatus>(switches.nextErrorStatus), 1);
    }
    return Read(card, *request, seesSecrets, out);
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
    std::optional<RequestHead> head = request ? HeadOf(*request) : OversizedRequest(counters, datagram);
    if (!head) {
        return std::nullopt;
    }
    CommunityRight right = card.RightOf(head->community);
    bool writes = head->pduType == kPduSet;
    if (right == CommunityRight::None || (writes && right != CommunityRight::ReadWrite)) {
        ++(right == CommunityRight::None ? counters.inBadCommunityNames : counters.inBadCommunityUses);
        return std::nullopt;
    }
    CountRequest(counters, head->pduType);

    WireBindings bindings;
    Verdict verdict =
        Carry(card, request.get(), right == CommunityRight::ReadWrite, switches, from, bindings);
    if (verdict.silent) {
        return std::nullopt;
    }
    // Wraps round past the largest id rather than overflow.
    auto requestId =
        static_cast<int32_t>(static_cast<uint32_t>(head->requestId) + (switches.wrongRequestId ? 1u : 0u));
    std::optional<std::vector<uint8_t>> bytes;
    if (verdict.status == ErrorStatus::NoError) {
        bytes = Encode(*head, requestId, verdict, bindings);
        if (!bytes) {
            verdict = Fail(ErrorStatus::TooBig, 0);
        }
    }
    if (!bytes) {
        bytes = EncodeError(*head, request.get(), requestId, verdict);
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
