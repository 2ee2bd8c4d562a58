#include "platform/lan/IpxEndpoint.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>

#include "platform/lan/LanSettings.h"
#include "platform/lan/tests/LanTestSupport.h"

namespace plat {
namespace {

const HardwareAddress kStationA{{0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4}};
const HardwareAddress kStationB{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0B}};

class IpxEndpointTest : public ::testing::Test {
  protected:
    std::unique_ptr<IpxEndpoint> Open(const HardwareAddress& station, std::uint16_t socket) {
        int error = 0;
        auto endpoint = IpxEndpoint::Open(station, socket, error);
        EXPECT_TRUE(endpoint) << "error " << error;
        return endpoint;
    }
    static std::vector<std::uint8_t> Bytes(const char* text) { return {text, text + std::strlen(text)}; }

    test::TempLan lan_;
};

TEST_F(IpxEndpointTest, UnicastReachesOneSocketAndBroadcastEveryStationOfThatSocket) {
    auto a = Open(kStationA, 0x9010);
    auto b = Open(kStationB, 0x9010);
    auto other = Open(kStationB, 0x9011);
    ASSERT_TRUE(a && b && other);

    ASSERT_EQ(a->SendTo(IpxAddress{0, kStationB, 0x9010}, 4, Bytes("to b")), 0);
    ASSERT_TRUE(test::WaitReadable(b->Fd(), 2000));
    auto got = b->Receive();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, Bytes("to b"));
    EXPECT_EQ(got->source, (IpxAddress{LocalIpxNetwork(), kStationA, 0x9010}));
    EXPECT_EQ(got->packetType, 4);

    ASSERT_EQ(b->SendTo(IpxAddress{0, kBroadcastAddress, 0x9010}, 4, Bytes("all")), 0);
    for (IpxEndpoint* endpoint : {a.get(), b.get()}) {
        ASSERT_TRUE(test::WaitReadable(endpoint->Fd(), 2000));
        EXPECT_EQ(endpoint->Receive()->data, Bytes("all"));
    }
    EXPECT_FALSE(test::WaitReadable(other->Fd(), 100));
    EXPECT_FALSE(a->Receive()) << "one datagram, one receive";
}

TEST_F(IpxEndpointTest, DatagramToAnotherNetworkIsLost) {
    auto a = Open(kStationA, 0x9010);
    auto b = Open(kStationB, 0x9010);
    ASSERT_EQ(a->SendTo(IpxAddress{LocalIpxNetwork() + 1, kStationB, 0x9010}, 4, Bytes("x")), 0);
    EXPECT_FALSE(test::WaitReadable(b->Fd(), 100));
    EXPECT_EQ(a->SendTo(IpxAddress{0, kStationB, 0x9010}, 4, std::vector<std::uint8_t>(kIpxMaxData + 1)),
              EMSGSIZE);
}

TEST_F(IpxEndpointTest, BoundSocketIsRefusedUntilReleased) {
    auto first = Open(kStationA, 0x900F);
    int error = 0;
    EXPECT_FALSE(IpxEndpoint::Open(kStationA, 0x900F, error));
    EXPECT_EQ(error, EADDRINUSE);
    EXPECT_TRUE(Open(kStationB, 0x900F)) << "the same socket of another station is free";
    first.reset();
    EXPECT_TRUE(Open(kStationA, 0x900F));
}

TEST_F(IpxEndpointTest, FileLeftByAnEndedStationIsTakenOver) {
    std::string path = lan_.Folder() + "/" + EndpointName(EndpointKind::Ipx, kStationA, 0x900F);
    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);  // the file stays, nobody behind it

    auto taken = Open(kStationA, 0x900F);
    auto b = Open(kStationB, 0x9010);
    ASSERT_TRUE(taken && b);
    b->SendTo(IpxAddress{0, kStationA, 0x900F}, 4, Bytes("hello"));
    EXPECT_TRUE(test::WaitReadable(taken->Fd(), 2000));
}

TEST_F(IpxEndpointTest, DynamicSocketsAreDistinct) {
    auto a = Open(kStationA, 0);
    auto b = Open(kStationA, 0);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->Address().socket, b->Address().socket);
    EXPECT_GE(a->Address().socket, 0x4000);
}

TEST_F(IpxEndpointTest, MalformedFramesAreDroppedAndTheNextGoodOneArrives) {
    auto a = Open(kStationA, 0x9010);
    ASSERT_TRUE(a);
    std::vector<std::uint8_t> good(64, 0);
    {
        auto b = Open(kStationB, 0x9011);
        std::vector<std::uint8_t> data(20, 7);
        good = EncodeIpxFrame(IpxPacket{4, IpxAddress{0, kStationA, 0x9010}, b->Address(), data});
    }
    auto oversized = good;
    oversized.resize(kLanMaxFrame + 200, 1);
    oversized[14 + 2] = 0x06;  // IPX length 0x0600: more than a frame carries
    oversized[14 + 3] = 0x00;
    auto lengthBeyondEnd = good;
    lengthBeyondEnd[14 + 3] += 1;
    std::vector<std::vector<std::uint8_t>> bad{{},
                                               {1, 2, 3},
                                               std::vector<std::uint8_t>(good.begin(), good.begin() + 30),
                                               oversized,
                                               lengthBeyondEnd};
    std::string name = EndpointName(EndpointKind::Ipx, kStationA, 0x9010);
    for (const auto& frame : bad) {
        LanSend(name, frame, LanSendMode::NoWait);
    }
    LanSend(name, good, LanSendMode::NoWait);
    ASSERT_TRUE(test::WaitReadable(a->Fd(), 2000));
    auto got = a->Receive();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, std::vector<std::uint8_t>(20, 7));
    EXPECT_FALSE(test::WaitReadable(a->Fd(), 100));
}

TEST_F(IpxEndpointTest, HooksLoseAndDelayFrames) {
    auto a = Open(kStationA, 0x9010);
    auto b = Open(kStationB, 0x9010);
    SetLanDropShare(1.0);
    a->SendTo(IpxAddress{0, kStationB, 0x9010}, 4, Bytes("lost"));
    EXPECT_FALSE(test::WaitReadable(b->Fd(), 100));
    SetLanDropShare(0);
    SetLanDelay(300);
    a->SendTo(IpxAddress{0, kStationB, 0x9010}, 4, Bytes("late"));
    EXPECT_FALSE(test::WaitReadable(b->Fd(), 150));
    EXPECT_TRUE(test::WaitReadable(b->Fd(), 2000));
    EXPECT_EQ(b->Receive()->data, Bytes("late"));
}

TEST_F(IpxEndpointTest, NoSegmentNoSocket) {
    unsetenv("VORLANE_LAN");
    int error = 0;
    EXPECT_FALSE(IpxEndpoint::Open(kStationA, 0x9010, error));
    EXPECT_EQ(error, ENETDOWN);
    EXPECT_FALSE(LanConfigured());
}

}  // namespace
}  // namespace plat
