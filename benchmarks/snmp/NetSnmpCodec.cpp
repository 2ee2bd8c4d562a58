#include "benchmarks/snmp/NetSnmpCodec.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "benchmarks/snmp/DetailQuery.h"

namespace snmp::bench {

namespace {

constexpr std::size_t kBufferSize = 2048;

std::size_t ParseOid(const std::string& text, oid* arcs, std::size_t capacity) {
    std::stringstream stream(text);
    std::string arc;
    std::size_t count = 0;
    while (count < capacity && std::getline(stream, arc, '.')) {
        arcs[count++] = std::stoul(arc);
    }
    return count;
}

netsnmp_pdu* ParsePdu(netsnmp_session& session, const std::uint8_t* message, std::size_t length) {
    auto* pdu = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
    if (pdu != nullptr &&
        snmp_parse(nullptr, &session, pdu, const_cast<u_char*>(message), length) != SNMPERR_SUCCESS) {
        snmp_free_pdu(pdu);
        return nullptr;
    }
    return pdu;
}

}  // namespace

struct NetSnmpCodec::State {
    netsnmp_session session{};
    netsnmp_pdu* get = nullptr;
    u_char* buffer = nullptr;
    size_t bufferSize = kBufferSize;
    char community[12] = "k!r@o#v$e%t";
};

NetSnmpCodec::NetSnmpCodec() : state_(std::make_unique<State>()) {
    snmp_sess_init(&state_->session);
    state_->session.version = SNMP_VERSION_1;
    state_->session.community = reinterpret_cast<u_char*>(state_->community);
    state_->session.community_len = std::strlen(state_->community);
    state_->get = snmp_pdu_create(SNMP_MSG_GET);
    state_->get->version = SNMP_VERSION_1;
    state_->get->reqid = kDetailRequestId;
    for (const std::string& text : kDetailOids) {
        oid arcs[MAX_OID_LEN];
        // As the system sends a get: an empty octet string in place of every value.
        snmp_pdu_add_variable(state_->get, arcs, ParseOid(text, arcs, MAX_OID_LEN), ASN_OCTET_STR, "", 0);
    }
    state_->buffer = static_cast<u_char*>(std::malloc(state_->bufferSize));
}

NetSnmpCodec::~NetSnmpCodec() {
    snmp_free_pdu(state_->get);
    std::free(state_->buffer);
}

const std::uint8_t* NetSnmpCodec::EncodeGet(std::size_t& length) {
    // Reverse encoding: the message ends at the end of the buffer.
    size_t offset = 0;
    if (snmp_build(&state_->buffer, &state_->bufferSize, &offset, &state_->session, state_->get) !=
        SNMPERR_SUCCESS) {
        return nullptr;
    }
    length = offset;
    return state_->buffer + state_->bufferSize - offset;
}

int NetSnmpCodec::Decode(const std::uint8_t* message, std::size_t length, std::int32_t* requestId) {
    netsnmp_pdu* pdu = ParsePdu(state_->session, message, length);
    if (pdu == nullptr) {
        return -1;
    }
    int count = 0;
    for (netsnmp_variable_list* binding = pdu->variables; binding != nullptr;
         binding = binding->next_variable) {
        ++count;
    }
    if (requestId != nullptr) {
        *requestId = pdu->reqid;
    }
    snmp_free_pdu(pdu);
    return count;
}

std::string NetSnmpCodec::FirstOctetString(const std::uint8_t* message, std::size_t length) {
    netsnmp_pdu* pdu = ParsePdu(state_->session, message, length);
    std::string text;
    if (pdu != nullptr && pdu->variables != nullptr && pdu->variables->type == ASN_OCTET_STR) {
        text.assign(reinterpret_cast<const char*>(pdu->variables->val.string), pdu->variables->val_len);
    }
    snmp_free_pdu(pdu);
    return text;
}

}  // namespace snmp::bench
