#include "simulator/netware/NetWareStation.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

#include "platform/netware/NetWareMessage.h"

namespace sim {

bool NetWareStation::Start(const std::string& who, std::string& error) {
    if (endpoint_) {
        return true;
    }
    int code = 0;
    endpoint_ = plat::IpxEndpoint::Open(address_, plat::kNetWareSocket, code);
    if (!endpoint_) {
        error = who + ": cannot join the LAN: " + std::strerror(code);
        return false;
    }
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void NetWareStation::Stop() {
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

void NetWareStation::Run() {
    for (;;) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {endpoint_->Fd(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 || (fds[0].revents & POLLIN) != 0) {
            return;
        }
        std::optional<plat::IpxDatagram> datagram = endpoint_->Receive();
        if (!datagram) {
            continue;
        }
        const std::vector<std::uint8_t> reply = answer_(datagram->data);
        if (!reply.empty()) {
            endpoint_->SendTo(datagram->source, 4, reply);
        }
    }
}

}  // namespace sim
