#include "platform/lan/LanFrame.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

const HardwareAddress kA{{0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4}};
const HardwareAddress kB{{0x02, 0x00, 0x00, 0x00, 0x00, 0x01}};

std::vector<std::uint8_t> IpxFrame(std::size_t dataSize) {
    std::vector<std::uint8_t> data(dataSize, 0x5A);
    IpxPacket packet{4, IpxAddress{1, kA, 0x900F}, IpxAddress{1, kB, 0x9010}, data};
    return EncodeIpxFrame(packet);
}

TEST(LanFrame, IpxPacketSurvivesTheTrip) {
    std::vector<std::uint8_t> data{1, 2, 3};
    IpxPacket packet{4, IpxAddress{0x00000001, kA, 0x900F}, IpxAddress{0x00FACADE, kB, 0x9010}, data};
    auto bytes = EncodeIpxFrame(packet);
    // The socket goes big-endian on the wire: 0x90 0x0F.
    EXPECT_EQ(bytes[14 + 16], 0x90);
    EXPECT_EQ(bytes[14 + 17], 0x0F);
    auto frame = DecodeLanFrame(bytes);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->kind, LanFrame::Kind::Ipx);
    EXPECT_EQ(frame->ipx.type, 4);
    EXPECT_EQ(frame->ipx.destination, packet.destination);
    EXPECT_EQ(frame->ipx.source, packet.source);
    EXPECT_EQ(std::vector<std::uint8_t>(frame->ipx.data.begin(), frame->ipx.data.end()), data);
}

TEST(LanFrame, LlcFrameSurvivesTheTrip) {
    std::vector<std::uint8_t> data{9, 8, 7, 6};
    LlcFrame llc{kBroadcastAddress, kA, 0x0A, 0x0E, {0x03, 0}, data};
    auto bytes = EncodeLlcFrame(llc);
    auto frame = DecodeLanFrame(bytes);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->kind, LanFrame::Kind::Llc);
    EXPECT_EQ(frame->llc.destination, kBroadcastAddress);
    EXPECT_EQ(frame->llc.source, kA);
    EXPECT_EQ(frame->llc.dsap, 0x0A);
    EXPECT_EQ(frame->llc.ssap, 0x0E);
    EXPECT_EQ(std::vector<std::uint8_t>(frame->llc.data.begin(), frame->llc.data.end()), data);
}

TEST(LanFrame, FramesThatDoNotAddUpAreRejected) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    auto ipx = IpxFrame(10);
    auto truncatedIpx = ipx;
    truncatedIpx.resize(ipx.size() - 1);  // IPX length field says one byte more than there is
    auto shortIpxLength = ipx;
    shortIpxLength[14 + 2] = 0;
    shortIpxLength[14 + 3] = 29;  // less than its own header
    auto llc = EncodeLlcFrame(LlcFrame{kA, kB, 4, 4, {0x03, 0}, {}});
    auto longLlcLength = llc;
    longLlcLength[13] = 200;  // 802.3 length beyond the frame
    auto iFrameWithoutSecondControlByte = llc;
    iFrameWithoutSecondControlByte[13] = 3;
    iFrameWithoutSecondControlByte[16] = 0x00;  // an I-frame needs two control bytes
    std::vector<Case> cases{
        {"empty", {}},
        {"shorter than the header", std::vector<std::uint8_t>(13, 0)},
        {"IPX header cut", std::vector<std::uint8_t>(ipx.begin(), ipx.begin() + 14 + 29)},
        {"IPX data cut", truncatedIpx},
        {"IPX length below header", shortIpxLength},
        {"oversized", IpxFrame(kIpxMaxData + 1)},
        {"LLC length beyond frame", longLlcLength},
        {"LLC control cut", iFrameWithoutSecondControlByte},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeLanFrame(c.bytes)) << c.what;
    }
    EXPECT_TRUE(DecodeLanFrame(IpxFrame(kIpxMaxData))) << "largest frame";
}

}  // namespace
}  // namespace plat
