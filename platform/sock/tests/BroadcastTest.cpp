// A UDP broadcast through the library, in the private network of the integration tests.
#include <gtest/gtest.h>

#include "platform/sock/tests/SocketTestSupport.h"

namespace plat {
namespace {

using test::Generic;

class BroadcastTest : public test::StartedLibrary {};

TEST_F(BroadcastTest, ReachesASocketBoundToAnyAddressOnThePort) {
    SocketHandle receiver = vorsock_socket(kAfInet, kSockDgram, 0);
    auto any = test::Inet("0.0.0.0", 161);
    ASSERT_EQ(vorsock_bind(receiver, Generic(any), sizeof any), 0);
    SocketHandle sender = vorsock_socket(kAfInet, kSockDgram, 0);
    test::SetFlag(sender, kSoBroadcast);
    auto all = test::Inet("255.255.255.255", 161);
    ASSERT_EQ(vorsock_sendto(sender, "get", 3, 0, Generic(all), sizeof all), 3);
    ASSERT_TRUE(test::Readable(receiver, 2000));
    char buffer[8] = {};
    SocketAddressIn from{};
    int fromLength = sizeof from;
    EXPECT_EQ(vorsock_recvfrom(receiver, buffer, sizeof buffer, 0, reinterpret_cast<SocketAddress*>(&from),
                               &fromLength),
              3);
    EXPECT_EQ(from.address.address, vorsock_inet_addr("127.0.0.1"));
    vorsock_closesocket(sender);
    vorsock_closesocket(receiver);
}

}  // namespace
}  // namespace plat
