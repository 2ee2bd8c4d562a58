#pragma once

// A UDP socket of a test on 127.0.0.1, where the library's peers are reached in the test network.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace snmp::test {

// A UDP socket on 127.0.0.1 (bound to `port`, 0 for any) that closes itself.
class LoopbackSocket {
  public:
    explicit LoopbackSocket(std::uint16_t port = 0) : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in local = Address(port);
        bound_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    }
    ~LoopbackSocket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool Bound() const { return bound_; }

    bool SendTo(const std::uint8_t* bytes, std::size_t length, std::uint16_t port) {
        sockaddr_in peer = Address(port);
        return sendto(fd_, bytes, length, 0, reinterpret_cast<sockaddr*>(&peer), sizeof peer) ==
               static_cast<ssize_t>(length);
    }
    // One datagram, or an empty one when nothing arrives within `waitMs`.
    std::vector<std::uint8_t> Receive(int waitMs) {
        pollfd ready{fd_, POLLIN, 0};
        std::vector<std::uint8_t> datagram(2048);
        const ssize_t got =
            poll(&ready, 1, waitMs) == 1 ? recv(fd_, datagram.data(), datagram.size(), 0) : -1;
        datagram.resize(got > 0 ? got : 0);
        return datagram;
    }

  private:
    static sockaddr_in Address(std::uint16_t port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    int fd_;
    bool bound_ = false;
};

}  // namespace snmp::test
