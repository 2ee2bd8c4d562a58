#include "console/properties/RouteAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace console {

namespace {

constexpr std::uint16_t kSnmpPort = 161;

}  // namespace

// Connecting a datagram socket sends nothing; it only picks the route and its source address.
std::optional<QString> LocalAddressToward(const QString& ip) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(kSnmpPort);
    if (inet_pton(AF_INET, ip.toLatin1().constData(), &peer.sin_addr) != 1 || peer.sin_addr.s_addr == 0) {
        return std::nullopt;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return std::nullopt;
    }
    sockaddr_in local{};
    socklen_t length = sizeof local;
    const bool found = connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0 &&
                       local.sin_addr.s_addr != 0;
    close(fd);
    if (!found) {
        return std::nullopt;
    }
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &local.sin_addr, text, sizeof text);
    return QString::fromLatin1(text);
}

}  // namespace console
