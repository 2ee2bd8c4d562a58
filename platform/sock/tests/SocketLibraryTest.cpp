// The library as the suite binds it, its start-up and its handles.
#include <gtest/gtest.h>

#include "platform/services/ModuleLoader.h"
#include "platform/sock/SocketEntryPoints.h"
#include "platform/sock/tests/SocketTestSupport.h"

namespace plat {
namespace {

TEST(SocketLibraryBinding, EveryEntryPointIsFoundUnderEachName) {
    for (const char* name : {"wsock32.dll", "ws2_32.dll", "winsock.dll"}) {
        ModuleHandle module = LoadModule(name);
        ASSERT_NE(module, nullptr) << name;
        for (const char* entry : kSocketEntryPoints) {
            EXPECT_NE(ModuleSymbol(module, entry), nullptr) << name << " " << entry;
        }
        EXPECT_EQ(ModuleSymbol(module, "WSAStartup"), reinterpret_cast<void*>(&vorsock_WSAStartup));
        FreeModule(module);
    }
}

TEST(SocketLibraryBinding, UnregisteredNameLeavesEveryEntryUnbound) {
    MapModuleName("wsock32.dll", "");
    ModuleHandle module = LoadModule("wsock32.dll");
    MapModuleName("wsock32.dll", "libvorlanesock.so", kSocketExportPrefix);
    EXPECT_EQ(module, nullptr);
    for (const char* entry : kSocketEntryPoints) {
        EXPECT_EQ(ModuleSymbol(module, entry), nullptr) << entry;
    }
}

TEST(SocketLibraryStartUp, VersionsAndCountedStarts) {
    SocketsData data;
    EXPECT_EQ(vorsock_WSAStartup(MakeVersion(1, 0), &data), kWsaVernotsupported);
    EXPECT_EQ(vorsock_socket(kAfInet, kSockDgram, 0), kInvalidSocket);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaNotinitialised);
    ASSERT_EQ(vorsock_WSAStartup(MakeVersion(2, 2), &data), 0);
    EXPECT_EQ(data.version, MakeVersion(1, 1));
    ASSERT_EQ(vorsock_WSAStartup(MakeVersion(1, 1), &data), 0);
    EXPECT_EQ(vorsock_WSACleanup(), 0);
    SocketHandle s = vorsock_socket(kAfInet, kSockDgram, 0);
    EXPECT_NE(s, kInvalidSocket) << "one start is still counted";
    vorsock_closesocket(s);
    EXPECT_EQ(vorsock_WSACleanup(), 0);
    EXPECT_EQ(vorsock_WSACleanup(), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaNotinitialised);
    vorsock_WSASetLastError(1234);
    EXPECT_EQ(vorsock_WSAGetLastError(), 1234);
}

class SocketHandles : public test::StartedLibrary {};

TEST_F(SocketHandles, AreSmallNumbersAndAStaleOneReachesNothing) {
    SocketHandle first = vorsock_socket(kAfInet, kSockDgram, 0);
    SocketHandle second = vorsock_socket(kAfInet, kSockStream, 0);
    ASSERT_NE(first, kInvalidSocket);
    EXPECT_GT(first, 0u);
    EXPECT_LT(first, 0x10000u);
    EXPECT_NE(first, second);
    EXPECT_EQ(vorsock_closesocket(first), 0);
    EXPECT_EQ(vorsock_closesocket(first), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEnotsock);
    EXPECT_EQ(vorsock_closesocket(kInvalidSocket), kSocketError);
    SocketHandle third = vorsock_socket(kAfInet, kSockDgram, 0);
    EXPECT_NE(third, first) << "a closed handle is not given out again at once";
    char byte;
    EXPECT_EQ(vorsock_recv(first, &byte, 1, 0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEnotsock);
    int type = 0;
    int length = sizeof type;
    ASSERT_EQ(vorsock_getsockopt(second, kSolSocket, kSoType, reinterpret_cast<char*>(&type), &length), 0);
    EXPECT_EQ(type, kSockStream);
    vorsock_closesocket(second);
    vorsock_closesocket(third);
}

}  // namespace
}  // namespace plat
