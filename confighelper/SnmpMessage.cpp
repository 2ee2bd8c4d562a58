#include "confighelper/SnmpMessage.h"

#include "snmp/exports/Vantorel.h"
#include "snmp/request/Community.h"

namespace {

constexpr std::uint16_t kMessageRoom = 4096;

}  // namespace

std::vector<std::uint8_t> EncodeRequest(SnmpPduType type, std::int32_t requestId,
                                        const std::vector<RequestBinding>& bindings, std::int32_t* status) {
    std::vector<std::string> oids;
    std::vector<std::vector<std::uint8_t>> values;
    std::vector<VarBind> varBinds(bindings.size());
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        oids.push_back(bindings[i].oid);
        values.push_back(bindings[i].value);
    }
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        varBinds[i].Oid = oids[i].data();
        varBinds[i].OidLength = static_cast<std::int32_t>(oids[i].size());
        varBinds[i].ValueType = bindings[i].type;
        varBinds[i].Value = values[i].empty() ? nullptr : values[i].data();
        varBinds[i].ValueLength = static_cast<std::int32_t>(values[i].size());
    }
    std::string community(snmp::kRequestCommunity);
    ReqParam request{};
    request.Community = community.data();
    request.CommunityLength = static_cast<std::uint16_t>(community.size());
    request.PduType = type;
    request.RequestId = requestId;
    request.BindingCount = static_cast<std::uint16_t>(varBinds.size());
    request.Bindings = varBinds.data();

    std::vector<std::uint8_t> message(kMessageRoom);
    std::uint16_t length = kMessageRoom;
    const std::int32_t result = HelperSnmpEncodePdu(&request, message.data(), &length);
    if (status != nullptr) {
        *status = result;
    }
    if (result != 0) {
        return {};
    }
    // A request of its own length: a detection holds one for each of ten thousand print servers, and
    // the room to encode in is ten times the request.
    return std::vector<std::uint8_t>(message.begin(), message.begin() + length);
}

std::vector<RequestBinding> GetBindings(const std::string& oids) {
    std::vector<RequestBinding> bindings;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = oids.find(',', start);
        bindings.push_back(RequestBinding{oids.substr(start, comma - start), kSnmpNull, {}});
        if (comma == std::string::npos) {
            return bindings;
        }
        start = comma + 1;
    }
}

void AnswerRelease::operator()(ReqParam* answer) const {
    HelperFreeReqParam(answer);
}

Answer DecodeAnswer(const std::uint8_t* datagram, std::uint32_t length) {
    return Answer(HelperSnmpDecodePdu(datagram, static_cast<std::int32_t>(length)));
}
