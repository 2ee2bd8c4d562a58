#include <gtest/gtest.h>

#include "platform/services/ModuleLoader.h"
#include "transport/DlcTransport.h"
#include "transport/IpxTransport.h"
#include "transport/WinsockTable.h"

namespace {

constexpr const char* kNames[] = {"wsock32.dll", "ws2_32.dll", "winsock.dll"};
constexpr int kFakeError = 4242;  // what the fake library's WSAGetLastError answers

class WinsockTableBinding : public ::testing::Test {
  protected:
    // Maps each name to the fake library ("fake"), the real one ("real") or nothing ("").
    static void MapNames(const char* wsock32, const char* ws2_32, const char* winsock) {
        const char* choices[] = {wsock32, ws2_32, winsock};
        for (int i = 0; i < 3; ++i) {
            const std::string choice = choices[i];
            const std::string file = choice == "fake"   ? FAKE_SOCKET_LIBRARY
                                     : choice == "real" ? "libvorlanesock.so"
                                                        : "";
            plat::MapModuleName(kNames[i], file, plat::kSocketExportPrefix);
        }
    }

    void TearDown() override { MapNames("real", "real", "real"); }
};

TEST_F(WinsockTableBinding, TakesTheFirstLibraryThatLoads) {
    struct Case {
        const char *wsock32, *ws2_32, *winsock;
    } cases[] = {{"fake", "real", "real"}, {"", "fake", "real"}, {"", "", "fake"}};
    for (const Case& c : cases) {
        MapNames(c.wsock32, c.ws2_32, c.winsock);
        WinsockTable table;
        EXPECT_TRUE(table.IsBound());
        EXPECT_EQ(table.WSAGetLastError(), kFakeError) << c.wsock32 << "," << c.ws2_32 << "," << c.winsock;
    }
}

TEST_F(WinsockTableBinding, AMissingEntryPointAnswersAsUnbound) {
    MapNames("fake", "", "");
    WinsockTable table;
    plat::SocketsData data{};
    EXPECT_EQ(table.WSAStartup(plat::MakeVersion(1, 1), &data), 0);
    EXPECT_EQ(table.socket(plat::kAfIpx, plat::kSockDgram, 1004), plat::kInvalidSocket);
    EXPECT_EQ(table.bind(1, nullptr, 0), plat::kSocketError);
    EXPECT_EQ(table.htons(0x1234), 10050);
}

TEST_F(WinsockTableBinding, WithoutLibraryEveryEntryFailsVisibly) {
    MapNames("", "", "");
    WinsockTable table;
    EXPECT_FALSE(table.IsBound());
    plat::SocketsData data{};
    EXPECT_EQ(table.WSAStartup(plat::MakeVersion(1, 1), &data), 10050);
    EXPECT_EQ(table.WSAGetLastError(), 10050);
    table.WSASetLastError(1);
    EXPECT_EQ(table.WSAGetLastError(), 10050);
    EXPECT_EQ(table.htons(0x1234), 0x2742);
    EXPECT_EQ(table.ntohs(0x1234), 0x2742);
    EXPECT_EQ(table.htonl(1), 10050u);
    // Entries that report failure by -1 report failure, never 10050 that would read as success.
    EXPECT_EQ(table.socket(plat::kAfInet, plat::kSockDgram, plat::kIpProtoUdp), plat::kInvalidSocket);
    EXPECT_EQ(table.accept(1, nullptr, nullptr), plat::kInvalidSocket);
    char byte = 0;
    plat::SocketAddress address{};
    int addressLength = sizeof address;
    EXPECT_EQ(table.bind(1, &address, sizeof address), plat::kSocketError);
    EXPECT_EQ(table.sendto(1, &byte, 1, 0, &address, sizeof address), plat::kSocketError);
    EXPECT_EQ(table.recvfrom(1, &byte, 1, 0, &address, &addressLength), plat::kSocketError);
    EXPECT_EQ(table.select(0, nullptr, nullptr, nullptr, nullptr), plat::kSocketError);
    EXPECT_EQ(table.closesocket(1), plat::kSocketError);
    EXPECT_EQ(table.WSACleanup(), plat::kSocketError);
    EXPECT_EQ(table.inet_addr("1.2.3.4"), plat::kInaddrNone);
    EXPECT_EQ(table.gethostbyname("localhost"), nullptr);
    EXPECT_EQ(table.WSAAsyncGetHostByName(1, 1, "localhost", &byte, 1), 0u);
}

// This program runs without VORLANE_LAN: the machine has neither IPX nor DLC.
TEST_F(WinsockTableBinding, IpxWithoutIpxHasNoSocketAndClosesAtBind) {
    IpxTransport transport(1, 1, 0, nullptr, nullptr);
    EXPECT_EQ(transport.GetSocket(), DatagramTransport::kNoSocket);
    EXPECT_EQ(transport.Bind(0x9010), kTransportBindFailed);
    EXPECT_EQ(transport.SendTo("x", 1, "0000000100A0B1C2D3E4", 0x900F), kTransportNotOpen);
    char buffer[8];
    std::uint32_t length = 0;
    EXPECT_EQ(transport.Receive(buffer, sizeof buffer, &length, nullptr, nullptr), kTransportNotOpen);
}

TEST_F(WinsockTableBinding, IpxWithoutSocketLibraryNeverTakesFailureForSuccess) {
    MapNames("", "", "");
    IpxTransport transport(1, 1, kTransportBroadcast, nullptr, nullptr);
    EXPECT_EQ(transport.GetSocket(), DatagramTransport::kNoSocket);
    EXPECT_EQ(transport.Broadcast("x", 1, 0x900F), kTransportSendFailed);
    EXPECT_EQ(transport.Bind(0x9010), kTransportBindFailed);
    std::uint8_t address[IpxTransport::kSenderBytes];
    EXPECT_EQ(transport.GetLocalAddress(address), kTransportNotOpen);
}

TEST_F(WinsockTableBinding, DlcWithoutDlcAnswersNotFoundAndFails) {
    EXPECT_EQ(DlcInitialize(), kDlcFailed);
    EXPECT_FALSE(DlcAvailable());
    DlcTransport transport(1, 1, 0, nullptr, nullptr);
    std::uint8_t address[kDlcAddressBytes];
    EXPECT_EQ(transport.GetLocalAddress(address), 0);
    EXPECT_EQ(transport.Bind(0), kDlcFailed);
    EXPECT_EQ(transport.SendTo("x", 1, "0000F0123456", 10), kDlcFailed);
    EXPECT_EQ(transport.Broadcast("x", 1, 10), kDlcFailed);
    char buffer[8];
    std::uint32_t length = 0;
    EXPECT_EQ(transport.Receive(buffer, sizeof buffer, &length, nullptr, nullptr), kDlcFailed);
}

}  // namespace
