// A station in a process of its own for the segment's tests. It echoes what reaches it until its
// standard input closes:
//   lan_test_peer ipx STATION SOCKET    IPX datagrams back to their sender
//   lan_test_peer spx STATION SOCKET    SPX streams back on the same connection
//   lan_test_peer llc STATION SAP       UI frames back to their sender; link stations accepted, I-frames back
//   lan_test_peer spxsend STATION SOCKET  connects to the SPX listener there, writes kSentBytes of
//                                          SentByte(i), closes and ends at once
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <list>
#include <memory>
#include <string>

#include "platform/lan/IpxEndpoint.h"
#include "platform/lan/LanSettings.h"
#include "platform/lan/LinkStation.h"
#include "platform/lan/SapPort.h"
#include "platform/lan/SpxConnection.h"
#include "platform/lan/SpxListener.h"
#include "platform/lan/tests/LanTestSupport.h"

using namespace plat;

namespace {

void Ready() {
    std::printf("ready\n");
    std::fflush(stdout);
}

// Waits for stdin to close, calling work when fd is readable.
template <class Work>
void Serve(int fd, Work work) {
    for (;;) {
        pollfd fds[2] = {{0, POLLIN, 0}, {fd, POLLIN, 0}};
        poll(fds, fd >= 0 ? 2 : 1, -1);
        if (fds[0].revents != 0) {
            return;
        }
        if (fd >= 0 && fds[1].revents != 0) {
            work();
        }
    }
}

int EchoIpx(const HardwareAddress& station, std::uint16_t socket) {
    int error = 0;
    auto endpoint = IpxEndpoint::Open(station, socket, error);
    if (!endpoint) {
        return 1;
    }
    Ready();
    Serve(endpoint->Fd(), [&] {
        while (auto datagram = endpoint->Receive()) {
            endpoint->SendTo(datagram->source, datagram->packetType, datagram->data);
        }
    });
    return 0;
}

int EchoSpx(const HardwareAddress& station, std::uint16_t socket) {
    int error = 0;
    auto listener = SpxListener::Open(station, socket, error);
    if (!listener) {
        return 1;
    }
    listener->Listen(4);
    Ready();
    Serve(listener->Fd(), [&] {
        auto connection = listener->Accept();
        if (!connection) {
            return;
        }
        char buffer[4096];
        ssize_t got;
        while ((got = recv(connection->Fd(), buffer, sizeof buffer, 0)) > 0) {
            for (ssize_t sent = 0; sent < got;) {
                ssize_t n =
                    send(connection->Fd(), buffer + sent, static_cast<std::size_t>(got - sent), MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
                sent += n;
            }
        }
        connection->Close();
    });
    return 0;
}

int SendAndEnd(const HardwareAddress& listener, std::uint16_t socket) {
    const HardwareAddress self{{0x02, 0x00, 0x00, 0x00, 0x00, 0xFE}};
    int error = 0;
    auto connection = SpxConnection::Connect(IpxAddress{LocalIpxNetwork(), self, 0x4003},
                                             IpxAddress{0, listener, socket}, error);
    if (!connection || !test::WaitReadable(connection->StatusFd(), 5000) ||
        connection->GetStatus() != SpxConnection::Status::Connected) {
        return 1;
    }
    Ready();
    std::string bytes;
    for (std::size_t i = 0; i < test::kSentBytes; ++i) {
        bytes += static_cast<char>(test::SentByte(i));
    }
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(connection->Fd(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return 1;
        }
        sent += static_cast<std::size_t>(n);
    }
    connection->Close();
    return 0;
}

class LlcEcho final : public SapPort::Handler {
  public:
    int Run(const HardwareAddress& station, std::uint8_t sap) {
        std::lock_guard guard(LanLock());
        int error = 0;
        port_ = SapPort::Open(station, sap, *this, error);
        return port_ ? 0 : 1;
    }
    void OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                   std::span<const std::uint8_t> data) override {
        SendUiFrame(port_->Station(), port_->Sap(), source, sourceSap, data);
    }
    void OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) override {
        auto& echo = links_.emplace_back(std::make_unique<LinkEcho>());
        int error = 0;
        echo->station = LinkStation::Open(*port_, source, sourceSap, 7, *echo, error);
        if (echo->station) {
            echo->station->Accept();
        }
    }

  private:
    struct LinkEcho final : LinkStation::Listener {
        std::unique_ptr<LinkStation> station;
        bool OnData(std::vector<std::uint8_t>& data) override {
            station->Send(data);
            return true;
        }
        void OnAcknowledged(std::size_t) override {}
        void OnEvent(ReliableLink::Event) override {}
    };
    std::unique_ptr<SapPort> port_;
    std::list<std::unique_ptr<LinkEcho>> links_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    std::string mode = argv[1];
    auto station = HardwareAddress::Parse(argv[2]);
    auto number = static_cast<std::uint16_t>(std::strtoul(argv[3], nullptr, 16));
    if (!station) {
        return 2;
    }
    if (mode == "ipx") {
        return EchoIpx(*station, number);
    }
    if (mode == "spx") {
        return EchoSpx(*station, number);
    }
    if (mode == "spxsend") {
        return SendAndEnd(*station, number);
    }
    if (mode == "llc") {
        LlcEcho echo;
        if (echo.Run(*station, static_cast<std::uint8_t>(number)) != 0) {
            return 1;
        }
        Ready();
        Serve(-1, [] {});
        return 0;
    }
    return 2;
}
