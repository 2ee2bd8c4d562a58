#include "platform/sock/AddressForms.h"

#include <arpa/inet.h>

#include <cstring>

namespace plat {

int InetFromInterface(const SocketAddress* address, int length, sockaddr_in& host) {
    if (address == nullptr || length < static_cast<int>(sizeof(SocketAddressIn))) {
        return kWsaEfault;
    }
    SocketAddressIn in;
    std::memcpy(&in, address, sizeof in);
    if (in.family != kAfInet) {
        return kWsaEafnosupport;
    }
    host = sockaddr_in{};
    host.sin_family = AF_INET;
    host.sin_port = in.port;
    host.sin_addr.s_addr = in.address.address;
    return 0;
}

int InetToInterface(const sockaddr_in& host, SocketAddress* address, int* length) {
    if (address == nullptr || length == nullptr || *length < static_cast<int>(sizeof(SocketAddressIn))) {
        return kWsaEfault;
    }
    SocketAddressIn in{};
    in.family = kAfInet;
    in.port = host.sin_port;
    in.address.address = host.sin_addr.s_addr;
    std::memcpy(address, &in, sizeof in);
    *length = sizeof in;
    return 0;
}

int IpxFromInterface(const SocketAddress* address, int length, IpxAddress& ipx) {
    if (address == nullptr || length < static_cast<int>(sizeof(SocketAddressIpx))) {
        return kWsaEfault;
    }
    SocketAddressIpx in;
    std::memcpy(&in, address, sizeof in);
    if (in.family != kAfIpx) {
        return kWsaEafnosupport;
    }
    std::uint32_t network;
    std::memcpy(&network, in.network, sizeof network);
    ipx.network = ntohl(network);
    std::memcpy(ipx.node.bytes.data(), in.node, sizeof in.node);
    ipx.socket = ntohs(in.socket);
    return 0;
}

int IpxToInterface(const IpxAddress& ipx, SocketAddress* address, int* length) {
    if (address == nullptr || length == nullptr || *length < static_cast<int>(sizeof(SocketAddressIpx))) {
        return kWsaEfault;
    }
    SocketAddressIpx out{};
    out.family = kAfIpx;
    std::uint32_t network = htonl(ipx.network);
    std::memcpy(out.network, &network, sizeof network);
    std::memcpy(out.node, ipx.node.bytes.data(), sizeof out.node);
    out.socket = htons(ipx.socket);
    std::memcpy(address, &out, sizeof out);
    *length = sizeof out;
    return 0;
}

}  // namespace plat
