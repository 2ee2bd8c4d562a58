#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>

// A plain host UDP socket on 127.0.0.1: the real peer the transports talk to.
class UdpPeer {
  public:
    struct Datagram {
        std::string data;
        std::uint16_t port;     // sender's, host order
        std::uint32_t address;  // sender's, host order
    };

    explicit UdpPeer(std::uint32_t address = INADDR_LOOPBACK, std::uint16_t port = 0) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(address);
        local.sin_port = htons(port);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        socklen_t length = sizeof local;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;
    ~UdpPeer() { ::close(fd_); }

    bool Bound() const { return bound_; }
    std::uint16_t Port() const { return port_; }

    void SendTo(std::uint16_t port, const std::string& data) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        ::sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }

    std::optional<Datagram> Receive(int timeoutMs = 2000) const {
        pollfd readable{fd_, POLLIN, 0};
        if (::poll(&readable, 1, timeoutMs) != 1) {
            return std::nullopt;
        }
        char buffer[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t received =
            ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (received < 0) {
            return std::nullopt;
        }
        return Datagram{std::string(buffer, static_cast<std::size_t>(received)), ntohs(from.sin_port),
                        ntohl(from.sin_addr.s_addr)};
    }

  private:
    int fd_ = -1;
    bool bound_ = false;
    std::uint16_t port_ = 0;
};
