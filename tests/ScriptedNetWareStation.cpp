#include "tests/ScriptedNetWareStation.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

namespace nwtest {

namespace {

// Not the network's own station: nothing else on the segment answers as this one.
const plat::HardwareAddress kStation{{0x02, 0x53, 0x54, 0x00, 0x00, 0x01}};

}  // namespace

ScriptedNetWareStation::~ScriptedNetWareStation() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
        thread_.join();
        close(wakeFd_);
    }
}

bool ScriptedNetWareStation::Start(std::string& error) {
    int code = 0;
    endpoint_ = plat::IpxEndpoint::Open(kStation, plat::kNetWareSocket, code);
    if (!endpoint_) {
        error = std::string("scripted station: cannot join the LAN: ") + std::strerror(code);
        return false;
    }
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void ScriptedNetWareStation::Take(const std::string& call, Script script) {
    std::lock_guard lock(mutex_);
    scripts_[call] = std::move(script);
}

int ScriptedNetWareStation::Requests(const std::string& call) {
    std::lock_guard lock(mutex_);
    return requests_[call];
}

void ScriptedNetWareStation::Watch(std::function<void(const std::vector<std::string>& fields)> watch) {
    std::lock_guard lock(mutex_);
    watch_ = std::move(watch);
}

void ScriptedNetWareStation::Run() {
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
        if (!request || request->reply || request->fields.empty()) {
            continue;
        }
        if (std::optional<plat::NetWareMessage> reply = Reply(*request)) {
            endpoint_->SendTo(datagram->source, 4, plat::EncodeNetWareMessage(*reply));
        }
    }
}

std::optional<plat::NetWareMessage> ScriptedNetWareStation::Reply(const plat::NetWareMessage& request) {
    Script script;
    std::function<void(const std::vector<std::string>&)> watch;
    int earlier = 0;
    {
        std::lock_guard lock(mutex_);
        const std::string& call = request.fields[0];
        earlier = requests_[call]++;
        if (auto it = scripts_.find(call); it != scripts_.end()) {
            script = it->second;
        }
        watch = watch_;
    }
    if (watch) {
        watch(request.fields);
    }
    if (script) {
        if (std::optional<Answer> answer = script(request.fields, earlier)) {
            return plat::NetWareMessage{true, request.session, request.id, answer->code, answer->fields};
        }
    }
    return network_.Handle(request);
}

}  // namespace nwtest
