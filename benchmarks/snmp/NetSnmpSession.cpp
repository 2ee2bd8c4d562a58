#include "benchmarks/snmp/NetSnmpSession.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <cstring>

namespace snmp::bench {

struct NetSnmpSession::State {
    std::string peer;
    std::string community;
    std::vector<std::vector<oid>> oids;
    netsnmp_session* session = nullptr;

    // Sends the request and takes the answer; true when it came with error status 0.
    bool Exchange(netsnmp_pdu* request) {
        netsnmp_pdu* response = nullptr;
        const int status = snmp_synch_response(session, request, &response);
        const bool answered =
            status == STAT_SUCCESS && response != nullptr && response->errstat == SNMP_ERR_NOERROR;
        if (response != nullptr) {
            snmp_free_pdu(response);
        }
        return answered;
    }
};

NetSnmpSession::NetSnmpSession(const std::string& peer, const std::string& community,
                               const std::vector<std::string>& oids)
    : state_(std::make_unique<State>()) {
    init_snmp("vorlane-bench");
    state_->peer = peer;
    state_->community = community;
    for (const std::string& text : oids) {
        std::vector<oid> arcs(MAX_OID_LEN);
        size_t length = arcs.size();
        if (read_objid(text.c_str(), arcs.data(), &length) != 0) {
            arcs.resize(length);
            state_->oids.push_back(std::move(arcs));
        }
    }
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.version = SNMP_VERSION_1;
    settings.peername = state_->peer.data();
    settings.community = reinterpret_cast<u_char*>(state_->community.data());
    settings.community_len = state_->community.size();
    settings.timeout = 2000000;  // microseconds
    settings.retries = 1;
    state_->session = snmp_open(&settings);
}

NetSnmpSession::~NetSnmpSession() {
    if (state_->session != nullptr) {
        snmp_close(state_->session);
    }
}

bool NetSnmpSession::Opened() const {
    return state_->session != nullptr && state_->oids.size() > 0;
}

bool NetSnmpSession::Get() {
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
    for (const std::vector<oid>& arcs : state_->oids) {
        snmp_add_null_var(request, arcs.data(), arcs.size());
    }
    return state_->Exchange(request);
}

bool NetSnmpSession::Set(long value) {
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_SET);
    for (const std::vector<oid>& arcs : state_->oids) {
        snmp_pdu_add_variable(request, arcs.data(), arcs.size(), ASN_INTEGER, &value, sizeof value);
    }
    return state_->Exchange(request);
}

}  // namespace snmp::bench
