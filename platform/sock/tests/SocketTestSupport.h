#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sock/SocketLibrary.h"

namespace plat::test {

// The library started for the test's life.
class StartedLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        SocketsData data;
        ASSERT_EQ(vorsock_WSAStartup(MakeVersion(1, 1), &data), 0);
    }
    void TearDown() override { vorsock_WSACleanup(); }
};

inline SocketAddressIn Inet(const char* address, std::uint16_t port) {
    SocketAddressIn in{};
    in.family = kAfInet;
    in.port = htons(port);
    in.address.address = inet_addr(address);
    return in;
}

inline SocketAddressIpx Ipx(std::uint32_t network, const std::string& node, std::uint16_t socket) {
    SocketAddressIpx ipx{};
    ipx.family = kAfIpx;
    std::uint32_t big = htonl(network);
    std::memcpy(ipx.network, &big, 4);
    for (int i = 0; i < 6; ++i) {
        ipx.node[i] = static_cast<std::uint8_t>(std::stoul(node.substr(2 * i, 2), nullptr, 16));
    }
    ipx.socket = htons(socket);
    return ipx;
}

template <class Address>
const SocketAddress* Generic(const Address& address) {
    return reinterpret_cast<const SocketAddress*>(&address);
}

// The port a socket was given.
inline std::uint16_t PortOf(SocketHandle s) {
    SocketAddressIn in{};
    int length = sizeof in;
    vorsock_getsockname(s, reinterpret_cast<SocketAddress*>(&in), &length);
    return ntohs(in.port);
}

inline bool Readable(SocketHandle s, int milliseconds) {
    FdSet read;
    FdZero(read);
    FdAdd(s, read);
    TimeValue timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return vorsock_select(0, &read, nullptr, nullptr, &timeout) == 1;
}

inline void SetFlag(SocketHandle s, int option) {
    int one = 1;
    ASSERT_EQ(vorsock_setsockopt(s, kSolSocket, option, reinterpret_cast<const char*>(&one), sizeof one), 0);
}

}  // namespace plat::test
