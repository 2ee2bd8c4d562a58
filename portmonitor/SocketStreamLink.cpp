#include "portmonitor/SocketStreamLink.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::uint16_t kVersion11 = 0x0101;
// Far more than a print server on a LAN needs, and small enough that the bytes in flight stay in the
// caches: over loopback a job keeps closer to the pace of a plain copy with this than with 1 MiB. At
// 64 KiB the sender waits for room several times per write, and falls behind again.
constexpr int kSendBuffer = 128 << 10;

bool IsLostConnection(int error) {
    return error == plat::kWsaEnetdown || error == plat::kWsaEconnaborted || error == plat::kWsaEconnreset;
}

}  // namespace

SocketStreamLink::~SocketStreamLink() {
    Close();
}

LinkResult SocketStreamLink::Connect(const char* address, std::uint16_t port) {
    if (state_ == kLinkConnected) {
        return kLinkAlreadyConnected;
    }
    if (address == nullptr || !Plausible(address)) {
        return kLinkBadAddress;
    }
    plat::SocketsData data{};
    if (WSAStartup(kVersion11, &data) != 0) {
        return kLinkFailed;
    }
    started_ = true;
    plat::SocketAddress peer{};
    int length = 0;
    if (!Resolve(address, port, peer, length)) {
        Close();
        return kLinkBadAddress;
    }
    const Endpoint kind = Kind();
    socket_ = socket(kind.family, kind.type, kind.protocol);
    if (socket_ == plat::kInvalidSocket) {
        Close();
        return kLinkFailed;
    }
    const int on = 1;
    setsockopt(socket_, plat::kSolSocket, plat::kSoKeepAlive, reinterpret_cast<const char*>(&on), sizeof on);
    if (connect(socket_, &peer, length) != 0) {
        const int error = WSAGetLastError();
        Close();
        return error == plat::kWsaEconnrefused ? kLinkRefused
               : error == plat::kWsaEtimedout  ? kLinkTimedOut
                                               : kLinkFailed;
    }
    setsockopt(socket_, plat::kSolSocket, plat::kSoSndBuf, reinterpret_cast<const char*>(&kSendBuffer),
               sizeof kSendBuffer);
    std::uint32_t nonBlocking = 1;
    ioctlsocket(socket_, plat::kFionbio, &nonBlocking);
    state_ = kLinkConnected;
    return kLinkConnected;
}

int SocketStreamLink::WaitFor(bool write) {
    plat::FdSet set;
    plat::FdZero(set);
    plat::FdAdd(socket_, set);
    const plat::TimeValue timeout{static_cast<std::int32_t>(timing_.timeOutMs / 1000),
                                  static_cast<std::int32_t>(timing_.timeOutMs % 1000 * 1000)};
    const int ready = select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &timeout);
    return ready > 0 ? 1 : ready;
}

LinkResult SocketStreamLink::Lost() {
    Close();
    return kLinkNotConnected;
}

LinkResult SocketStreamLink::Send(const std::uint8_t* bytes, std::size_t count, std::size_t& taken) {
    taken = 0;
    if (state_ != kLinkConnected) {
        return kLinkNotConnected;
    }
    std::uint32_t idleRounds = 0;
    while (taken < count) {
        // A send is tried first: the wait is needed only when the socket has no room.
        const int chunk = static_cast<int>(std::min<std::size_t>(count - taken, INT_MAX));
        const int sent = send(socket_, reinterpret_cast<const char*>(bytes + taken), chunk, 0);
        if (sent > 0) {
            taken += static_cast<std::size_t>(sent);
            idleRounds = 0;
            continue;
        }
        const int error = WSAGetLastError();
        if (error != plat::kWsaEwouldblock) {
            return IsLostConnection(error) ? Lost() : kLinkFailed;
        }
        if (idleRounds == timing_.retries || (idleRounds > 0 && timing_.Abandoned())) {
            return kLinkNotAllSent;
        }
        const int ready = WaitFor(true);
        if (ready < 0) {
            return IsLostConnection(WSAGetLastError()) ? Lost() : kLinkFailed;
        }
        if (ready == 0) {
            ++idleRounds;
        }
    }
    return kLinkSent;
}

LinkResult SocketStreamLink::Receive(std::uint8_t* buffer, std::size_t& length) {
    if (state_ != kLinkConnected) {
        return kLinkNotConnected;
    }
    for (std::uint32_t round = 0; round < timing_.retries && (round == 0 || !timing_.Abandoned()); ++round) {
        const int ready = WaitFor(false);
        if (ready < 0) {
            return IsLostConnection(WSAGetLastError()) ? Lost() : kLinkFailed;
        }
        if (ready == 0) {
            continue;
        }
        const int got = recv(socket_, reinterpret_cast<char*>(buffer),
                             static_cast<int>(std::min<std::size_t>(length, INT_MAX)), 0);
        if (got > 0) {
            length = static_cast<std::size_t>(got);
            return kLinkReceived;
        }
        if (got == 0) {
            length = 0;  // the print server closed the connection in order
            return kLinkReceived;
        }
        const int error = WSAGetLastError();
        if (error == plat::kWsaEwouldblock) {
            continue;
        }
        if (IsLostConnection(error)) {
            return Lost();
        }
        return error == plat::kWsaEmsgsize ? kLinkMessageTooLong : kLinkFailed;
    }
    return kLinkNothingReceived;
}

LinkResult SocketStreamLink::Close() {
    if (socket_ != plat::kInvalidSocket) {
        shutdown(socket_, plat::kShutBoth);
    }
    return Release();
}

LinkResult SocketStreamLink::Abort() {
    if (socket_ != plat::kInvalidSocket) {
        const plat::Linger reset{1, 0};
        setsockopt(socket_, plat::kSolSocket, plat::kSoLinger, reinterpret_cast<const char*>(&reset),
                   sizeof reset);
    }
    return Release();
}

LinkResult SocketStreamLink::Release() {
    if (socket_ != plat::kInvalidSocket) {
        closesocket(socket_);
        socket_ = plat::kInvalidSocket;
    }
    if (started_) {
        WSACleanup();
        started_ = false;
    }
    state_ = kLinkNotConnected;
    return kLinkNotConnected;
}
