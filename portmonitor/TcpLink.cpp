#include "portmonitor/TcpLink.h"

#include <cstring>

bool TcpLink::Resolve(const char* address, std::uint16_t port, plat::SocketAddress& peer, int& length) {
    plat::SocketAddressIn in{};
    in.family = plat::kAfInet;
    in.port = htons(port);
    in.address.address = inet_addr(address);
    if (in.address.address == plat::kInaddrNone) {
        const plat::HostEntry* host = gethostbyname(address);
        if (host == nullptr || host->addresses == nullptr || host->addresses[0] == nullptr ||
            host->length != 4) {
            return false;
        }
        std::memcpy(&in.address.address, host->addresses[0], 4);
    }
    static_assert(sizeof in == sizeof peer);
    std::memcpy(&peer, &in, sizeof in);
    length = sizeof in;
    return true;
}
