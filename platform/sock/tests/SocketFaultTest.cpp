// An entry point whose work runs out of memory answers its failure from the list and leaves
// kWsaEnobufs as the thread's last error; the library works on afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "platform/services/tests/AllocationFailure.h"
#include "platform/sock/tests/SocketTestSupport.h"

namespace plat {
namespace {

using SocketFault = test::StartedLibrary;

bool MakeSocket() {
    const SocketHandle s = vorsock_socket(kAfInet, kSockDgram, 0);
    if (s == kInvalidSocket) {
        return false;
    }
    vorsock_closesocket(s);
    return true;
}

bool LookUpHost() {
    return vorsock_gethostbyname("localhost") != nullptr;
}

TEST_F(SocketFault, AnEntryPointOutOfMemoryFailsWithNoBuffers) {
    const std::pair<const char*, std::function<bool()>> calls[] = {{"socket", MakeSocket},
                                                                   {"gethostbyname", LookUpHost}};
    for (const auto& [name, call] : calls) {
        vorsock_WSASetLastError(0);
        bool served = true;
        {
            test::AllocationFailure failing(0);
            served = call();
            EXPECT_TRUE(failing.Refused()) << name;
        }
        EXPECT_FALSE(served) << name;
        EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEnobufs) << name;
        EXPECT_TRUE(call()) << name << " served again";
    }
}

}  // namespace
}  // namespace plat
