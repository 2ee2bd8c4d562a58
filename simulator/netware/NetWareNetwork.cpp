#include "simulator/netware/NetWareNetwork.h"

#include "simulator/netware/NetWareCalls.h"
#include "simulator/netware/NetWareControl.h"

namespace sim {

namespace {

// The network's station: a locally administered address that no card uses.
const plat::HardwareAddress kNetWareStation{{0x02, 0x4E, 0x57, 0x00, 0x00, 0x01}};
// The call log keeps the latest calls.
constexpr std::size_t kLongestLog = 10000;
// The network remembers this many clients; a new one beyond makes it forget the one heard first.
constexpr std::size_t kMostSessions = 1024;

// The code of a fault due at this call, if one is.
std::optional<plat::NwCode> DueFault(NetWareState& state, const std::string& call) {
    for (auto it = state.faults.begin(); it != state.faults.end(); ++it) {
        if (it->call == call && --it->remaining == 0) {
            const plat::NwCode code = it->code;
            state.faults.erase(it);
            return code;
        }
    }
    return std::nullopt;
}

std::string LogLine(const std::vector<std::string>& fields, plat::NwCode code) {
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : " ") + (field.empty() ? std::string("\"\"") : field);
    }
    return line + " -> " + std::to_string(code);
}

}  // namespace

NetWareNetwork::NetWareNetwork()
    : station_(kNetWareStation, [this](std::span<const std::uint8_t> datagram) { return Answer(datagram); }) {
}

bool NetWareNetwork::Start(std::string& error) {
    return station_.Start("NetWare network", error);
}

void NetWareNetwork::Stop() {
    station_.Stop();
}

std::vector<std::uint8_t> NetWareNetwork::Answer(std::span<const std::uint8_t> datagram) {
    std::optional<plat::NetWareMessage> request = plat::DecodeNetWareMessage(datagram);
    if (!request || request->reply) {
        return {};
    }
    std::optional<plat::NetWareMessage> reply = Handle(*request);
    return reply ? plat::EncodeNetWareMessage(*reply) : std::vector<std::uint8_t>{};
}

std::optional<plat::NetWareMessage> NetWareNetwork::Handle(const plat::NetWareMessage& request) {
    std::lock_guard lock(mutex_);
    auto last = lastReplies_.find(request.session);
    if (last != lastReplies_.end() && last->second.id == request.id) {
        return last->second;
    }
    if (last != lastReplies_.end() && last->second.id > request.id) {
        return std::nullopt;  // a late copy of a request answered before
    }
    plat::NetWareMessage reply{true, request.session, request.id, 0, {}};
    reply.code = Carry(Session(request.session), request.fields, reply.fields);
    if (plat::EncodeNetWareMessage(reply).empty()) {
        reply.fields.clear();
        reply.code = plat::kNwBadRequest;
    }
    if (state_.log.size() == kLongestLog) {
        state_.log.pop_front();
    }
    state_.log.push_back(LogLine(request.fields, reply.code));
    lastReplies_[request.session] = reply;
    return reply;
}

plat::NwCode NetWareNetwork::Carry(NwSession& session, const std::vector<std::string>& fields,
                                   std::vector<std::string>& out) {
    const std::string call = fields.empty() ? std::string() : fields[0];
    if (std::optional<plat::NwCode> fault = DueFault(state_, call)) {
        return *fault;
    }
    return RunNetWareCall(state_, session, fields, out);
}

NwSession& NetWareNetwork::Session(std::uint32_t number) {
    if (state_.sessions.count(number) == 0) {
        if (sessionOrder_.size() == kMostSessions) {
            state_.sessions.erase(sessionOrder_.front());
            lastReplies_.erase(sessionOrder_.front());
            sessionOrder_.pop_front();
        }
        sessionOrder_.push_back(number);
    }
    return state_.sessions[number];
}

std::string NetWareNetwork::Control(std::string_view line) {
    std::lock_guard lock(mutex_);
    return RunNetWareControl(state_, line);
}

std::string NetWareNetwork::Control(const std::vector<std::string>& words) {
    std::lock_guard lock(mutex_);
    return RunNetWareControl(state_, words);
}

std::string HostedNetWareControl(const std::vector<std::string>& words) {
    static NetWareNetwork network;
    std::string error;
    if (!network.Start(error)) {
        return "error " + error;
    }
    return network.Control(words);
}

}  // namespace sim
