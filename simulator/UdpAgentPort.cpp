#include "simulator/UdpAgentPort.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

namespace {

constexpr size_t LargestDatagram = 65535;
constexpr int ReceiveBuffer = 4 << 20;

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool IsBroadcast(const Ipv4& address) {
    return address == Ipv4{255, 255, 255, 255} || address == Ipv4{127, 255, 255, 255};
}

std::unique_ptr<UdpAgentPort> UdpAgentPort::Open(uint16_t port, std::string& error) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = Reason("socket");
        return nullptr;
    }
    int on = 1;
    int buffer = ReceiveBuffer;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        error = Reason(("UDP port " + std::to_string(port)).c_str());
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<UdpAgentPort>(new UdpAgentPort(fd, port));
}

UdpAgentPort::~UdpAgentPort() {
    close(fd_);
}

// Linux wakes every waiting receive and makes each later one answer at once, though the call itself
// answers that an unconnected socket is not connected.
void UdpAgentPort::Shut() {
    shutdown(fd_, SHUT_RD);
}

// Read into one room kept for the thread and copied out at its length: a fresh zeroed room of 64 KiB
// for every request cost more than answering it.
std::optional<UdpDatagram> UdpAgentPort::Receive() {
    thread_local std::vector<uint8_t> buffer(LargestDatagram);
    sockaddr_in from{};
    iovec io{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t received = recvmsg(fd_, &message, 0);
    if (received < 0) {
        return std::nullopt;
    }
    UdpDatagram datagram;
    datagram.bytes.assign(buffer.begin(), buffer.begin() + received);
    datagram.from.protocol = Protocol::Ip;
    std::memcpy(datagram.from.address.data(), &from.sin_addr, 4);
    datagram.from.port = ntohs(from.sin_port);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            std::memcpy(datagram.destination.data(), &info.ipi_addr, 4);
        }
    }
    return datagram;
}

bool UdpAgentPort::Send(const Ipv4& source, const Peer& to, const std::vector<uint8_t>& bytes) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(to.port);
    std::memcpy(&destination.sin_addr, to.address.data(), 4);
    iovec io{const_cast<uint8_t*>(bytes.data()), bytes.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))]{};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    std::memcpy(&info.ipi_spec_dst, source.data(), 4);
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    return sendmsg(fd_, &message, MSG_DONTWAIT) == static_cast<ssize_t>(bytes.size());
}

}  // namespace sim
