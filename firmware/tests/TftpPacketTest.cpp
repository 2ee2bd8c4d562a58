#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/TftpPacket.h"

namespace {

using fendrel::TftpRequestParse;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

struct RequestCase {
    const char* what;
    std::string datagram;
    TftpRequestParse expected;
    std::string fileName;
    std::string mode;
};

class TftpRequestParsing : public testing::TestWithParam<RequestCase> {};

TEST_P(TftpRequestParsing, StaysWithinTheDatagramAndItsLimits) {
    const RequestCase& c = GetParam();
    fendrel::TftpRequest request;
    const auto datagram = Bytes(c.datagram);
    EXPECT_EQ(fendrel::ParseTftpRequest(datagram, request), c.expected) << c.what;
    if (c.expected == TftpRequestParse::kOk) {
        EXPECT_EQ(request.fileName, c.fileName);
        EXPECT_EQ(request.mode, c.mode);
    }
}

const std::string kRrq("\0\1", 2);
const std::string kZero("\0", 1);

INSTANTIATE_TEST_SUITE_P(
    Cases, TftpRequestParsing,
    testing::Values(
        RequestCase{"plain", kRrq + "fw.bin" + kZero + "octet" + kZero, TftpRequestParse::kOk, "fw.bin",
                    "octet"},
        RequestCase{"empty name", kRrq + kZero + "octet" + kZero, TftpRequestParse::kOk, "", "octet"},
        RequestCase{"options after the mode are ignored",
                    kRrq + "a" + kZero + "octet" + kZero + "blksize" + kZero + "1428" + kZero,
                    TftpRequestParse::kOk, "a", "octet"},
        RequestCase{"name at its limit", kRrq + std::string(127, 'n') + kZero + "octet" + kZero,
                    TftpRequestParse::kOk, std::string(127, 'n'), "octet"},
        RequestCase{"mode at its limit", kRrq + "a" + kZero + "123456789" + kZero, TftpRequestParse::kOk, "a",
                    "123456789"},
        RequestCase{"name over 127", kRrq + std::string(128, 'n') + kZero + "octet" + kZero,
                    TftpRequestParse::kNameTooLong, "", ""},
        RequestCase{"mode over 9", kRrq + "a" + kZero + "1234567890" + kZero, TftpRequestParse::kModeTooLong,
                    "", ""},
        RequestCase{"name without its zero", kRrq + "fw.bin", TftpRequestParse::kMalformed, "", ""},
        RequestCase{"mode without its zero", kRrq + "fw.bin" + kZero + "octet", TftpRequestParse::kMalformed,
                    "", ""},
        RequestCase{"opcode only", kRrq, TftpRequestParse::kMalformed, "", ""},
        RequestCase{"half an opcode", std::string("\0", 1), TftpRequestParse::kMalformed, "", ""}));

TEST(TftpPacket, OpcodeAndAcknowledgementNeedTheirBytes) {
    EXPECT_EQ(fendrel::TftpOpcodeOf(Bytes(std::string("\0", 1))), 0);
    EXPECT_EQ(fendrel::TftpOpcodeOf(Bytes(std::string("\0\4", 2))), fendrel::kTftpAck);

    std::uint16_t block = 7;
    EXPECT_FALSE(fendrel::ParseTftpAck(Bytes(std::string("\0\4\1", 3)), block));
    EXPECT_EQ(block, 7);
    ASSERT_TRUE(fendrel::ParseTftpAck(Bytes(std::string("\0\4\x12\x34", 4)), block));
    EXPECT_EQ(block, 0x1234);
}

TEST(TftpPacket, BuildsDataAndErrorsInNetworkOrder) {
    std::vector<std::uint8_t> packet;
    const std::vector<std::uint8_t> data{0xAA, 0xBB};
    fendrel::BuildTftpData(0x0102, data, packet);
    EXPECT_EQ(packet, (std::vector<std::uint8_t>{0, 3, 1, 2, 0xAA, 0xBB}));

    fendrel::BuildTftpData(65535, {}, packet);
    EXPECT_EQ(packet, (std::vector<std::uint8_t>{0, 3, 0xFF, 0xFF}));

    EXPECT_EQ(fendrel::BuildTftpError(5, "Unknown transfer ID"),
              Bytes(std::string("\0\5\0\5Unknown transfer ID\0", 24)));
}

}  // namespace
