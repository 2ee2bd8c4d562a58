// The asynchronous lookups of the name database: the answer laid out in the caller's buffer and a
// message to the window carrying the request's handle, the length needed and the error.
#include <gtest/gtest.h>

#include "platform/sock/tests/SocketTestSupport.h"

namespace plat {
namespace {

constexpr std::uint32_t kAnswer = kWmUser + 7;

class NameLookupTest : public test::StartedLibrary {
  protected:
    static void SetUpTestSuite() { RegisterWindowClass("NameLookupTest", DefWindowProc); }
    void SetUp() override {
        test::StartedLibrary::SetUp();
        window_ = CreateWindow("NameLookupTest", "");
    }
    void TearDown() override {
        DestroyWindow(window_);
        test::StartedLibrary::TearDown();
    }
    // The answer posted for the request.
    Message Answer(AsyncHandle request) {
        Message message;
        EXPECT_TRUE(PeekMessage(message, true));
        EXPECT_EQ(message.message, kAnswer);
        EXPECT_EQ(message.wParam, request);
        return message;
    }

    WindowHandle window_ = 0;
};

TEST_F(NameLookupTest, AnswerLandsInTheBufferOrTellsTheLengthNeeded) {
    alignas(HostEntry) char buffer[kMaxGetHostStruct];
    AsyncHandle request = vorsock_WSAAsyncGetHostByName(window_, kAnswer, "127.0.0.1", buffer, sizeof buffer);
    ASSERT_NE(request, 0u);
    Message answer = Answer(request);
    EXPECT_EQ(AsyncError(answer.lParam), 0);
    auto* host = reinterpret_cast<HostEntry*>(buffer);
    EXPECT_EQ(host->length, 4);
    std::uint32_t address;
    std::memcpy(&address, host->addresses[0], 4);
    EXPECT_EQ(address, htonl(0x7F000001));
    EXPECT_EQ(host->addresses[1], nullptr);

    std::uint16_t needed = AsyncBufferLength(answer.lParam);
    AsyncHandle cramped = vorsock_WSAAsyncGetHostByName(window_, kAnswer, "127.0.0.1", buffer, needed - 1);
    Message refused = Answer(cramped);
    EXPECT_EQ(AsyncError(refused.lParam), kWsaEnobufs);
    EXPECT_EQ(AsyncBufferLength(refused.lParam), needed);
    EXPECT_NE(cramped, request);

    AsyncHandle missing =
        vorsock_WSAAsyncGetServByName(window_, kAnswer, "no-such-service", "udp", buffer, sizeof buffer);
    EXPECT_EQ(AsyncError(Answer(missing).lParam), kWsaNoData);
}

TEST_F(NameLookupTest, AliasListEndsWithANullPointerWhateverTheBufferHeld) {
    alignas(ProtocolEntry) char buffer[kMaxGetHostStruct];
    std::memset(buffer, 0xFF, sizeof buffer);
    AsyncHandle request = vorsock_WSAAsyncGetProtoByName(window_, kAnswer, "udp", buffer, sizeof buffer);
    ASSERT_NE(request, 0u);
    ASSERT_EQ(AsyncError(Answer(request).lParam), 0);
    auto* protocol = reinterpret_cast<ProtocolEntry*>(buffer);
    EXPECT_STREQ(protocol->name, "udp");
    EXPECT_EQ(protocol->number, 17);
    ASSERT_NE(protocol->aliases[0], nullptr);  // "UDP" in the host's protocols file
    EXPECT_STREQ(protocol->aliases[0], "UDP");
    EXPECT_EQ(protocol->aliases[1], nullptr);
}

TEST_F(NameLookupTest, AnsweredRequestIsTooLateToCancelAndAnUnknownOneIsInvalid) {
    char buffer[kMaxGetHostStruct];
    AsyncHandle request = vorsock_WSAAsyncGetProtoByName(window_, kAnswer, "udp", buffer, sizeof buffer);
    ASSERT_NE(request, 0u);
    Answer(request);
    EXPECT_EQ(vorsock_WSACancelAsyncRequest(request), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEalready);
    EXPECT_EQ(vorsock_WSACancelAsyncRequest(request + 1000), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEinval);
    EXPECT_EQ(vorsock_WSACancelAsyncRequest(0), kSocketError);
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEinval);
    EXPECT_EQ(vorsock_WSAAsyncGetProtoByName(0, kAnswer, "udp", buffer, sizeof buffer), 0u) << "no window";
    EXPECT_EQ(vorsock_WSAGetLastError(), kWsaEinval);
}

}  // namespace
}  // namespace plat
