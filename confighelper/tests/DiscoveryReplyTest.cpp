#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "confighelper/DiscoveryReply.h"
#include "confighelper/tests/AnswerBuilder.h"

namespace {

const std::vector<std::uint8_t> kMac = {0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
const std::uint8_t kUdpSender[4] = {10, 0, 0, 9};
const std::uint8_t kIpxSender[10] = {0, 0, 0, 1, 0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
const std::uint8_t kDlcSender[6] = {0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};

const std::uint8_t* SenderOf(ProtocolMask kind) {
    return kind == kProtocolIp ? kUdpSender : kind == kProtocolIpx ? kIpxSender : kDlcSender;
}

AnswerBuilder Discovery(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d,
                        std::int32_t category = 1) {
    AnswerBuilder builder;
    builder.Octets(kMac).Ip(a, b, c, d).Integer(category);
    return builder;
}

TEST(DiscoveryReply, UdpAnswerMakesAnIpRecord) {
    DeviceList list;
    AnswerBuilder answer = Discovery(10, 0, 0, 9, 6);
    ASSERT_TRUE(ParseDiscoveryReply(answer.Answer(), kUdpSender, list, kProtocolIp));
    ASSERT_EQ(list.GetCount(), 1u);
    const DeviceRecord& record = *list.GetAt(0);
    EXPECT_STREQ(record.macAddress, "001122AABBCC");
    EXPECT_STREQ(record.ipAddress, "10.0.0.9");
    EXPECT_EQ(record.protocolMask, kProtocolIp);
    EXPECT_EQ(record.preferredProtocol, kProtocolIp);
    EXPECT_EQ(record.category, 6);
}

TEST(DiscoveryReply, AnswersOverSeveralProtocolsFoldIntoOneRecord) {
    struct Case {
        std::vector<ProtocolMask> order;
        std::uint8_t mask;
        std::uint8_t preferred;
    };
    const Case cases[] = {
        {{kProtocolIp, kProtocolDlc}, 6, kProtocolDlc},
        {{kProtocolDlc, kProtocolIp}, 6, kProtocolDlc},
        {{kProtocolIpx, kProtocolIp}, 3, kProtocolIp},
        {{kProtocolIp, kProtocolIpx, kProtocolDlc}, 7, kProtocolDlc},
        {{kProtocolIpx}, 1, kProtocolIpx},
    };
    for (const Case& c : cases) {
        DeviceList list;
        for (ProtocolMask kind : c.order) {
            AnswerBuilder answer = Discovery(10, 0, 0, 9);
            ASSERT_TRUE(ParseDiscoveryReply(answer.Answer(), SenderOf(kind), list, kind));
        }
        ASSERT_EQ(list.GetCount(), 1u);
        EXPECT_EQ(list.GetAt(0)->protocolMask, c.mask) << c.order.size();
        EXPECT_EQ(list.GetAt(0)->preferredProtocol, c.preferred) << c.order.size();
    }
}

TEST(DiscoveryReply, CardWithoutIpAddress) {
    DeviceList list;
    AnswerBuilder udp = Discovery(0, 0, 0, 0);
    ASSERT_TRUE(ParseDiscoveryReply(udp.Answer(), kUdpSender, list, kProtocolIp));
    EXPECT_EQ(list.GetAt(0)->protocolMask, kProtocolIp);
    EXPECT_EQ(list.GetAt(0)->preferredProtocol, kProtocolIp);
    EXPECT_STREQ(list.GetAt(0)->ipAddress, "0.0.0.0");

    // Heard over IPX as well: IPX is preferred, since there is no IP address to use.
    AnswerBuilder ipx = Discovery(0, 0, 0, 0);
    ASSERT_TRUE(ParseDiscoveryReply(ipx.Answer(), kIpxSender, list, kProtocolIpx));
    EXPECT_EQ(list.GetAt(0)->protocolMask, 3);
    EXPECT_EQ(list.GetAt(0)->preferredProtocol, kProtocolIpx);
    EXPECT_STREQ(list.GetAt(0)->ipxAddress, "00000001001122AABBCC");

    // An IPX-only card that also answers over UDP without an address does not gain IP.
    DeviceList ipxFirst;
    AnswerBuilder again = Discovery(0, 0, 0, 0);
    ASSERT_TRUE(ParseDiscoveryReply(again.Answer(), kIpxSender, ipxFirst, kProtocolIpx));
    AnswerBuilder udpLate = Discovery(0, 0, 0, 0);
    ParseDiscoveryReply(udpLate.Answer(), kUdpSender, ipxFirst, kProtocolIp);
    EXPECT_EQ(ipxFirst.GetAt(0)->protocolMask, kProtocolIpx);
    EXPECT_EQ(ipxFirst.GetAt(0)->preferredProtocol, kProtocolIpx);

    // Heard over IPX and DLC first: a UDP answer without an address does not take their place.
    DeviceList both;
    for (ProtocolMask kind : {kProtocolIpx, kProtocolDlc, kProtocolIp}) {
        AnswerBuilder answer = Discovery(0, 0, 0, 0);
        ASSERT_TRUE(ParseDiscoveryReply(answer.Answer(), SenderOf(kind), both, kind));
    }
    EXPECT_EQ(both.GetAt(0)->protocolMask, 7);
    EXPECT_EQ(both.GetAt(0)->preferredProtocol, kProtocolDlc);
}

TEST(DiscoveryReply, MalformedAnswersAreIgnored) {
    std::vector<AnswerBuilder> answers(8);
    answers[0].Octets(kMac).Ip(10, 0, 0, 9);                            // 2 values
    answers[1].Octets(kMac).Ip(10, 0, 0, 9).Integer(1).Integer(1);      // 4 values
    answers[2].Octets({0, 1, 2, 3, 4}).Ip(10, 0, 0, 9).Integer(1);      // 5-byte address
    answers[3].Octets(kMac).Octets({10, 0, 0, 9, 1}).Integer(1);        // 5-byte IP
    answers[4].Octets(kMac).Text("10.0.0.9").Integer(1);                // IP as text
    answers[5].Octets(kMac).Ip(10, 0, 0, 9).Text("2");                  // category not an integer
    answers[6].Integer(7).Ip(10, 0, 0, 9).Integer(1);                   // address not octets
    answers[7].Octets(kMac).Ip(10, 0, 0, 9).Integer(1).ErrorStatus(2);  // error status
    for (std::size_t i = 0; i < answers.size(); ++i) {
        DeviceList list;
        EXPECT_FALSE(ParseDiscoveryReply(answers[i].Answer(), kUdpSender, list, kProtocolIp)) << i;
        EXPECT_EQ(list.GetCount(), 0u) << i;
    }
}

std::vector<std::uint8_t> SapResponse(std::size_t entries, std::uint16_t type = 2,
                                      std::uint16_t serverType = 0x0922) {
    std::vector<std::uint8_t> packet = {static_cast<std::uint8_t>(type >> 8),
                                        static_cast<std::uint8_t>(type)};
    for (std::size_t k = 0; k < entries; ++k) {
        std::vector<std::uint8_t> entry(64, 0);
        entry[0] = static_cast<std::uint8_t>(serverType >> 8);
        entry[1] = static_cast<std::uint8_t>(serverType);
        const std::uint8_t address[10] = {0,    0,    0,    7,    0x00,
                                          0xA0, 0xB1, 0xC2, 0xD3, static_cast<std::uint8_t>(k)};
        std::copy(address, address + 10, entry.begin() + 50);
        packet.insert(packet.end(), entry.begin(), entry.end());
    }
    return packet;
}

TEST(DiscoveryReply, ServiceResponseGivesOneRecordPerWholeEntry) {
    struct Case {
        std::vector<std::uint8_t> packet;
        std::size_t records;
    };
    std::vector<std::uint8_t> truncated = SapResponse(2);
    truncated.pop_back();
    std::vector<std::uint8_t> tail65 = SapResponse(1);
    tail65.resize(65);  // 2 + 63: no whole entry
    const Case cases[] = {
        {SapResponse(2), 2},
        {truncated, 1},
        {tail65, 0},
        {SapResponse(1, 4), 0},
        {SapResponse(1, 2, 0x0004), 0},
        {{0x00}, 0},
    };
    for (const Case& c : cases) {
        DeviceList list;
        ParseSapReply(c.packet.data(), c.packet.size(), list);
        EXPECT_EQ(list.GetCount(), c.records) << c.packet.size();
    }
    DeviceList list;
    const auto packet = SapResponse(1);
    ParseSapReply(packet.data(), packet.size(), list);
    EXPECT_STREQ(list.GetAt(0)->macAddress, "00A0B1C2D300");
    EXPECT_STREQ(list.GetAt(0)->ipxAddress, "0000000700A0B1C2D300");
    EXPECT_EQ(list.GetAt(0)->protocolMask, kProtocolIpx);
    EXPECT_EQ(list.GetAt(0)->preferredProtocol, kProtocolIpx);
}

}  // namespace
