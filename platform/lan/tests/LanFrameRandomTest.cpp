// Frames come from other processes: every decoder of the segment, fed with valid frames bent at
// random (bytes changed, length fields rewritten, cut short, lengthened), must stay within the bytes
// it was given and hand back only what adds up. Each input lives in a heap block of exactly its size,
// so that reading one byte past it stops the test under the address sanitizer.
#include <gtest/gtest.h>

#include <random>

#include "platform/lan/LanFrame.h"
#include "platform/lan/LlcControl.h"
#include "platform/lan/SpxPacket.h"

namespace plat {
namespace {

constexpr int kRounds = 200000;  // fixed, so that the test takes the same few seconds every run

const HardwareAddress kA{{0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4}};
const HardwareAddress kB{{0x02, 0x00, 0x00, 0x00, 0x00, 0x01}};

std::vector<std::vector<std::uint8_t>> Seeds() {
    std::vector<std::uint8_t> data(40, 0x5A);
    std::vector<std::uint8_t> spx{0x10, 0x00, 0x12, 0x34, 0xFF, 0xFF, 0x00,
                                  0x05, 0x00, 0x03, 0x00, 0x00, 'j'};
    std::vector<std::vector<std::uint8_t>> seeds;
    seeds.push_back(EncodeIpxFrame(IpxPacket{4, IpxAddress{1, kA, 0x900F}, IpxAddress{1, kB, 0x9010}, data}));
    seeds.push_back(EncodeIpxFrame(IpxPacket{5, IpxAddress{0, kA, 0x2000}, IpxAddress{1, kB, 0x4001}, spx}));
    for (std::array<std::uint8_t, 2> control : {std::array<std::uint8_t, 2>{0x03, 0},  // UI
                                                {0x0A, 0x0C},                          // I-frame
                                                {0x05, 0x01},                          // RNR with poll
                                                {0x7F, 0}}) {                          // SABME
        seeds.push_back(EncodeLlcFrame(LlcFrame{kB, kA, 8, 4, control, data}));
    }
    return seeds;
}

std::vector<std::uint8_t> Bent(std::vector<std::uint8_t> frame, std::mt19937& random) {
    auto pick = [&random](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit)(random);
    };
    for (std::size_t changes = 1 + pick(3); changes > 0 && !frame.empty(); --changes) {
        switch (pick(4)) {
            case 0:
                frame[pick(frame.size() - 1)] = static_cast<std::uint8_t>(pick(255));
                break;
            case 1: {  // a length field: the 802.3 length, or the IPX length
                std::size_t at = pick(1) == 0 ? 12 : 16;
                if (at + 1 < frame.size()) {
                    auto length =
                        static_cast<std::uint16_t>(pick(1) == 0 ? pick(0xFFFF) : frame.size() - pick(40));
                    frame[at] = static_cast<std::uint8_t>(length >> 8);
                    frame[at + 1] = static_cast<std::uint8_t>(length);
                }
                break;
            }
            case 2:
                frame.resize(pick(frame.size()));
                break;
            case 3:
                frame.resize(frame.size() + pick(1600), static_cast<std::uint8_t>(pick(255)));
                break;
            default:  // the control bytes of an 802.2 frame
                frame[std::min<std::size_t>(16 + pick(1), frame.size() - 1)] =
                    static_cast<std::uint8_t>(pick(255));
                break;
        }
    }
    return frame;
}

bool Within(std::span<const std::uint8_t> part, const std::vector<std::uint8_t>& whole) {
    return part.empty() ||
           (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void CheckIpx(const IpxPacket& packet, const std::vector<std::uint8_t>& input) {
    ASSERT_TRUE(Within(packet.data, input));
    ASSERT_LE(packet.data.size(), kIpxMaxData);
    std::vector<std::uint8_t> encoded = EncodeIpxFrame(packet);
    auto again = DecodeLanFrame(encoded);
    ASSERT_TRUE(again && again->kind == LanFrame::Kind::Ipx);
    EXPECT_EQ(again->ipx.destination, packet.destination);
    EXPECT_EQ(again->ipx.source, packet.source);
    EXPECT_TRUE(
        std::equal(again->ipx.data.begin(), again->ipx.data.end(), packet.data.begin(), packet.data.end()));
    if (auto spx = DecodeSpxPacket(packet)) {
        ASSERT_LE(spx->frame.data.size(), kSpxMaxData);
        ASSERT_LT(spx->frame.ns, 128);
        ASSERT_LT(spx->frame.nr, 128);
    }
}

void CheckLlc(const LlcFrame& frame, const std::vector<std::uint8_t>& input) {
    ASSERT_TRUE(Within(frame.data, input));
    ASSERT_LE(frame.data.size(), kLlcMaxData);
    std::vector<std::uint8_t> encoded = EncodeLlcFrame(frame);
    auto again = DecodeLanFrame(encoded);
    ASSERT_TRUE(again && again->kind == LanFrame::Kind::Llc);
    EXPECT_EQ(again->llc.dsap, frame.dsap);
    EXPECT_EQ(again->llc.ssap, frame.ssap);
    EXPECT_TRUE(
        std::equal(again->llc.data.begin(), again->llc.data.end(), frame.data.begin(), frame.data.end()));
    if (auto link = DecodeLlcControl(frame)) {
        ASSERT_LT(link->ns, 128);
        ASSERT_LT(link->nr, 128);
    }
}

TEST(LanFrameRandom, BentFramesAreDecodedWithinTheirBytesOrRejected) {
    std::mt19937 random(20240607);
    auto seeds = Seeds();
    std::size_t decoded = 0;
    for (int round = 0; round < kRounds && !HasFatalFailure(); ++round) {
        std::vector<std::uint8_t> input = Bent(seeds[static_cast<std::size_t>(round) % seeds.size()], random);
        input.shrink_to_fit();  // the heap block ends where the frame ends
        auto frame = DecodeLanFrame(input);
        if (!frame) {
            continue;
        }
        ++decoded;
        ASSERT_LE(input.size(), kLanMaxFrame) << "round " << round;
        if (frame->kind == LanFrame::Kind::Ipx) {
            CheckIpx(frame->ipx, input);
        } else {
            CheckLlc(frame->llc, input);
        }
    }
    EXPECT_GT(decoded, static_cast<std::size_t>(kRounds) / 20)
        << "the bending should leave a share decodable";
}

}  // namespace
}  // namespace plat
