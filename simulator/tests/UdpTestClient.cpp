#include "simulator/tests/UdpTestClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace sim::test {

UdpTestClient::UdpTestClient(uint16_t localPort) : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    int on = 1;
    int buffer = 4 << 20;
    setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(localPort);
    local.sin_addr.s_addr = htonl(localPort == 0 ? INADDR_ANY : INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
}

UdpTestClient::~UdpTestClient() {
    close(fd_);
}

bool UdpTestClient::SendTo(const Ipv4& address, uint16_t port, const std::vector<uint8_t>& bytes) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    std::memcpy(&to.sin_addr, address.data(), 4);
    return sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(bytes.size());
}

std::optional<Received> UdpTestClient::Receive(std::chrono::milliseconds wait) {
    pollfd ready{fd_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(wait.count())) <= 0) {
        return std::nullopt;
    }
    Received received;
    received.bytes.resize(65535);
    sockaddr_in from{};
    socklen_t length = sizeof from;
    ssize_t size = recvfrom(fd_, received.bytes.data(), received.bytes.size(), 0,
                            reinterpret_cast<sockaddr*>(&from), &length);
    if (size < 0) {
        return std::nullopt;
    }
    received.bytes.resize(static_cast<size_t>(size));
    std::memcpy(received.from.data(), &from.sin_addr, 4);
    received.port = ntohs(from.sin_port);
    return received;
}

}  // namespace sim::test
