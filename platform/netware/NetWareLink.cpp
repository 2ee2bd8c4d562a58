#include "platform/netware/NetWareLink.h"

#include <poll.h>

#include <chrono>
#include <random>

#include "platform/lan/LanSettings.h"
#include "platform/netware/NetWareMessage.h"

namespace plat {

namespace {

constexpr int kTries = 4;
constexpr auto kReplyWait = std::chrono::milliseconds(400);

const IpxAddress kAnyNetwork{0, kBroadcastAddress, kNetWareSocket};

}  // namespace

bool NetWareLink::Open() {
    if (endpoint_) {
        return true;
    }
    if (!LanConfigured()) {
        return false;
    }
    int error = 0;
    endpoint_ = IpxEndpoint::Open(LocalStationAddress(), 0, error);
    if (!endpoint_) {
        return false;
    }
    network_ = kAnyNetwork;
    std::random_device random;
    session_ = random();
    return true;
}

NwCode NetWareLink::Call(const std::string& call, const std::vector<std::string>& arguments,
                         std::vector<std::string>* out) {
    if (!Open()) {
        return LanConfigured() ? kNwServerUnreachable : kNwClientAbsent;
    }
    NetWareMessage request;
    request.session = session_;
    request.id = nextId_++;
    request.fields.reserve(arguments.size() + 1);
    request.fields.push_back(call);
    request.fields.insert(request.fields.end(), arguments.begin(), arguments.end());
    const std::vector<std::uint8_t> bytes = EncodeNetWareMessage(request);
    if (bytes.empty()) {
        return kNwBadRequest;
    }
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (endpoint_->SendTo(network_, 4, bytes) != 0) {
            return kNwServerUnreachable;
        }
        if (std::optional<NwCode> code = AwaitReply(request.id, out)) {
            return *code;
        }
        network_ = kAnyNetwork;  // the network may have moved to another station
    }
    return kNwServerUnreachable;
}

std::optional<NwCode> NetWareLink::AwaitReply(std::uint32_t id, std::vector<std::string>* out) {
    const auto deadline = std::chrono::steady_clock::now() + kReplyWait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{endpoint_->Fd(), POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        std::optional<IpxDatagram> datagram = endpoint_->Receive();
        if (!datagram) {
            continue;
        }
        std::optional<NetWareMessage> reply = DecodeNetWareMessage(datagram->data);
        // Late replies to earlier tries and strays are dropped.
        if (!reply || !reply->reply || reply->session != session_ || reply->id != id) {
            continue;
        }
        network_ = datagram->source;
        if (out != nullptr) {
            *out = std::move(reply->fields);
        }
        return reply->code;
    }
}

}  // namespace plat
