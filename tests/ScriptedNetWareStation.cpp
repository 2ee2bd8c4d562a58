#include "tests/ScriptedNetWareStation.h"

namespace nwtest {

namespace {

// Not the network's own station: nothing else on the segment answers as this one.
const plat::HardwareAddress kStation{{0x02, 0x53, 0x54, 0x00, 0x00, 0x01}};

}  // namespace

ScriptedNetWareStation::ScriptedNetWareStation()
    : station_(kStation, [this](std::span<const std::uint8_t> datagram) { return ReplyDatagram(datagram); }) {
}

bool ScriptedNetWareStation::Start(std::string& error) {
    return station_.Start("scripted station", error);
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

std::vector<std::uint8_t> ScriptedNetWareStation::ReplyDatagram(std::span<const std::uint8_t> datagram) {
    std::optional<plat::NetWareMessage> request = plat::DecodeNetWareMessage(datagram);
    if (!request || request->reply || request->fields.empty()) {
        return {};
    }
    std::optional<plat::NetWareMessage> reply = Reply(*request);
    return reply ? plat::EncodeNetWareMessage(*reply) : std::vector<std::uint8_t>{};
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
