#include "confighelper/DetectionLinks.h"

#include <mutex>
#include <vector>

#include "confighelper/NotifyRouter.h"
#include "confighelper/SnmpMessage.h"
#include "transport/DlcTransport.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"

namespace {

constexpr const char* kNoticeClass = "HALBRIN_DETECT_NOTICE";
constexpr std::uint16_t kDiscoverySap = 14;
// UDP and IPX receives poll: a notice says a datagram is waiting. A DLC receive takes a queued frame.
constexpr std::int32_t kPoll = 0;
constexpr std::int32_t kDlcTimeOut = 1;
// Room in the UDP socket for the answers of a thousand print servers that arrive while the caller's
// own messages are being handled.
constexpr int kUdpReceiveRoom = 4 * 1024 * 1024;

void RegisterNoticeClass() {
    static std::once_flag registered;
    std::call_once(registered, [] { plat::RegisterWindowClass(kNoticeClass, RouteNotify); });
}

}  // namespace

DetectionLinks::DetectionLinks(Handler handler) : handler_(std::move(handler)) {
    transports_[kIpxRequest] =
        std::make_unique<IpxTransport>(1, kPoll, kTransportBroadcast, nullptr, nullptr);
    transports_[kIpxService] =
        std::make_unique<IpxTransport>(1, kPoll, kTransportBroadcast, nullptr, nullptr);
    transports_[kUdp] = std::make_unique<UdpTransport>(1, kPoll, kTransportBroadcast, nullptr, nullptr);
    transports_[kDlc] = std::make_unique<DlcTransport>(
        1, kDlcTimeOut, kTransportBroadcast | kTransportAsynchronous, RouteNotify, nullptr);
    transports_[kIpxRequest]->Bind(0);
    transports_[kIpxService]->Bind(0);
    transports_[kDlc]->Bind(kDiscoverySap);

    plat::SocketsData data{};
    sockets_.WSAStartup(plat::MakeVersion(1, 1), &data);
    RegisterNoticeClass();
    window_ = plat::CreateWindow(kNoticeClass, "");
    RouteNotifications(window_, [this](plat::WParam socket) { OnSocketNotice(socket); });
    if (const plat::WindowHandle dlcWindow = transports_[kDlc]->GetWindow(); dlcWindow != 0) {
        RouteNotifications(dlcWindow, [this](plat::WParam) { Drain(kDlc); });
    }
}

DetectionLinks::~DetectionLinks() {
    for (Link link : {kIpxRequest, kUdp, kIpxService}) {
        const DatagramTransport::Socket socket = transports_[link]->GetSocket();
        if (socket != DatagramTransport::kNoSocket) {
            sockets_.WSAAsyncSelect(static_cast<plat::SocketHandle>(socket), window_, WM_DATAGRAM_NOTIFY, 0);
        }
    }
    StopRouting(transports_[kDlc]->GetWindow());
    StopRouting(window_);
    plat::DestroyWindow(window_);
    for (auto& transport : transports_) {
        transport.reset();
    }
    sockets_.WSACleanup();
    if (quit_) {
        plat::PostQuitMessage(0);
    }
}

void DetectionLinks::StartNotices() {
    for (Link link : {kIpxRequest, kUdp, kIpxService}) {
        const DatagramTransport::Socket socket = transports_[link]->GetSocket();
        if (socket == DatagramTransport::kNoSocket) {
            continue;
        }
        const auto handle = static_cast<plat::SocketHandle>(socket);
        if (link == kUdp) {
            sockets_.setsockopt(handle, plat::kSolSocket, plat::kSoRcvBuf,
                                reinterpret_cast<const char*>(&kUdpReceiveRoom), sizeof kUdpReceiveRoom);
        }
        sockets_.WSAAsyncSelect(handle, window_, WM_DATAGRAM_NOTIFY, plat::kFdRead);
    }
}

bool DetectionLinks::PumpUntil(std::uint32_t deadline, const std::function<bool()>& done) {
    while (!done()) {
        const auto left = static_cast<std::int32_t>(deadline - plat::TickCount());
        if (left <= 0) {
            return true;
        }
        if (!plat::PumpWaiting(static_cast<std::uint32_t>(left))) {
            quit_ = true;
            return false;
        }
    }
    return true;
}

void DetectionLinks::DrainAll() {
    for (int link = 0; link < kLinkCount; ++link) {
        Drain(static_cast<Link>(link));
    }
}

void DetectionLinks::OnSocketNotice(plat::WParam socket) {
    for (Link link : {kIpxRequest, kUdp, kIpxService}) {
        if (static_cast<plat::WParam>(transports_[link]->GetSocket()) == socket) {
            Drain(link);
        }
    }
}

void DetectionLinks::Drain(Link link) {
    std::vector<std::uint8_t> datagram(kDatagramRoom);
    for (;;) {
        std::uint8_t sender[10] = {};
        std::uint32_t length = 0;
        std::uint16_t port = 0;
        if (transports_[link]->Receive(datagram.data(), kDatagramRoom, &length, sender, &port) !=
            kTransportOk) {
            return;
        }
        handler_(link, datagram.data(), length, sender);
    }
}
