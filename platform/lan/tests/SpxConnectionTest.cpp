#include "platform/lan/SpxConnection.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/LanSettings.h"
#include "platform/lan/SpxListener.h"
#include "platform/lan/tests/LanTestSupport.h"
#include "tests/Eventually.h"

namespace plat {
namespace {

const HardwareAddress kClient{{0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}};
const HardwareAddress kServer{{0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4}};
constexpr std::uint16_t kJobSocket = 0x2000;

class SpxConnectionTest : public ::testing::Test {
  protected:
    std::unique_ptr<SpxListener> Listen(std::size_t backlog = 4) {
        int error = 0;
        auto listener = SpxListener::Open(kServer, kJobSocket, error);
        EXPECT_TRUE(listener) << error;
        if (listener && backlog > 0) {
            listener->Listen(backlog);
        }
        return listener;
    }
    std::shared_ptr<SpxConnection> Connect(std::uint16_t socket = kJobSocket) {
        int error = 0;
        auto connection = SpxConnection::Connect(IpxAddress{LocalIpxNetwork(), kClient, 0x4001},
                                                 IpxAddress{0, kServer, socket}, error);
        EXPECT_TRUE(connection) << error;
        return connection;
    }
    static SpxConnection::Status Outcome(SpxConnection& connection) {
        test::WaitReadable(connection.StatusFd(), 5000);
        return connection.GetStatus();
    }
    static std::shared_ptr<SpxConnection> AcceptOne(SpxListener& listener) {
        EXPECT_TRUE(test::WaitReadable(listener.Fd(), 5000));
        return listener.Accept();
    }
    // Reads until the end of the stream (or the time-out).
    static std::string ReadAll(int fd) {
        std::string text;
        char buffer[4096];
        while (test::WaitReadable(fd, 5000)) {
            ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }
    static void WriteAll(int fd, const std::string& text) {
        for (std::size_t sent = 0; sent < text.size();) {
            ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            ASSERT_GT(n, 0);
            sent += static_cast<std::size_t>(n);
        }
    }
    static std::string Pattern(std::size_t size) {
        std::string text(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            text[i] = static_cast<char>('A' + (i * 7 + i / 26) % 26);
        }
        return text;
    }

    test::TempLan lan_;
};

TEST_F(SpxConnectionTest, StreamsCrossInOrderBothWaysDespiteLossAndEndCleanly) {
    SetLanTiming(LanTiming{20, 60, 200});
    auto listener = Listen();
    auto client = Connect();
    ASSERT_EQ(Outcome(*client), SpxConnection::Status::Connected);
    auto server = AcceptOne(*listener);
    ASSERT_TRUE(server);
    EXPECT_EQ(server->Remote().node, kClient);

    SetLanDropShare(0.25);
    std::string request = Pattern(40000);
    std::thread writer([&] {
        WriteAll(client->Fd(), request);
        shutdown(client->Fd(), SHUT_WR);  // end of the client's stream
    });
    EXPECT_EQ(ReadAll(server->Fd()), request);
    writer.join();

    std::string answer = Pattern(3000).substr(17);
    WriteAll(server->Fd(), answer);
    server->Close();
    EXPECT_EQ(ReadAll(client->Fd()), answer);
    SetLanDropShare(0);
    testsupport::Eventually([&] { return client->GetStatus() != SpxConnection::Status::Connected; });
    EXPECT_EQ(client->GetStatus(), SpxConnection::Status::Closed) << "ended, not reset";
    client->Close();
}

TEST_F(SpxConnectionTest, StationWithoutSuchSocketRefusesAtOnce) {
    int error = 0;
    auto present = IpxEndpoint::Open(kServer, 0x9010, error);
    auto connection = Connect();
    EXPECT_EQ(Outcome(*connection), SpxConnection::Status::Refused);
}

TEST_F(SpxConnectionTest, AbsentStationTimesOut) {
    auto connection = Connect();
    EXPECT_EQ(Outcome(*connection), SpxConnection::Status::TimedOut);
}

TEST_F(SpxConnectionTest, SocketNotListeningOrBacklogFullRefuses) {
    auto listener = Listen(0);
    EXPECT_EQ(Outcome(*Connect()), SpxConnection::Status::Refused);
    listener->Listen(1);
    auto first = Connect();
    EXPECT_EQ(Outcome(*first), SpxConnection::Status::Connected);
    EXPECT_EQ(Outcome(*Connect()), SpxConnection::Status::Refused) << "backlog of one is taken";
}

TEST_F(SpxConnectionTest, PeerThatAbortsResetsTheConnection) {
    auto listener = Listen();
    auto client = Connect();
    ASSERT_EQ(Outcome(*client), SpxConnection::Status::Connected);
    AcceptOne(*listener)->Abort();
    char byte;
    EXPECT_TRUE(test::WaitReadable(client->Fd(), 5000));
    EXPECT_LE(recv(client->Fd(), &byte, 1, 0), 0);
    EXPECT_EQ(client->GetStatus(), SpxConnection::Status::Reset);
}

}  // namespace
}  // namespace plat
