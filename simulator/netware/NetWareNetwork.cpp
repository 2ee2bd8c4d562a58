#include "simulator/netware/NetWareNetwork.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

#include "simulator/netware/NetWareCalls.h"
#include "simulator/netware/NetWareControl.h"

namespace sim {

namespace {

// The network's station: a locally administered address that no card uses.
const plat::HardwareAddress kNetWareStation{{0x02, 0x4E, 0x57, 0x00, 0x00, 0x01}};
// The call log keeps the latest calls.
constexpr std::size_t kLongestLog = 10000;

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

NetWareNetwork::~NetWareNetwork() {
    Stop();
}

bool NetWareNetwork::Start(std::string& error) {
    if (endpoint_) {
        return true;
    }
    int code = 0;
    endpoint_ = plat::IpxEndpoint::Open(kNetWareStation, plat::kNetWareSocket, code);
    if (!endpoint_) {
        error = std::string("NetWare network: cannot join the LAN: ") + std::strerror(code);
        return false;
    }
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void NetWareNetwork::Stop() {
    if (!endpoint_) {
        return;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
    thread_.join();
    close(wakeFd_);
    wakeFd_ = -1;
    endpoint_.reset();
}

void NetWareNetwork::Run() {
    for (;;) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {endpoint_->Fd(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 || (fds[0].revents & POLLIN) != 0) {
            return;
        }
        std::optional<plat::IpxDatagram> datagram = endpoint_->Receive();
        if (!datagram) {
            continue;
        }
        std::optional<plat::NetWareMessage> request = plat::DecodeNetWareMessage(datagram->data);
        if (!request || request->reply) {
            continue;
        }
        if (std::optional<plat::NetWareMessage> reply = Handle(*request)) {
            endpoint_->SendTo(datagram->source, 4, plat::EncodeNetWareMessage(*reply));
        }
    }
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
    plat::NetWareMessage reply;
    reply.reply = true;
    reply.session = request.session;
    reply.id = request.id;
    const std::string call = request.fields.empty() ? std::string() : request.fields[0];
    if (std::optional<plat::NwCode> fault = DueFault(state_, call)) {
        reply.code = *fault;
    } else {
        reply.code = RunNetWareCall(state_, state_.sessions[request.session], request.fields, reply.fields);
    }
    if (plat::EncodeNetWareMessage(reply).empty()) {
        reply.fields.clear();
        reply.code = plat::kNwBadRequest;
    }
    if (state_.log.size() == kLongestLog) {
        state_.log.erase(state_.log.begin());
    }
    state_.log.push_back(LogLine(request.fields, reply.code));
    lastReplies_[request.session] = reply;
    return reply;
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
