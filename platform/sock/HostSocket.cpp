#include "platform/sock/HostSocket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sock/AddressForms.h"
#include "platform/sock/SocketError.h"

namespace plat {

namespace {

constexpr std::uint32_t kConnectLimitMs = 30000;

int HostFlags(int flags) {
    int host = MSG_DONTWAIT | MSG_NOSIGNAL;
    host |= (flags & kMsgOob) != 0 ? MSG_OOB : 0;
    host |= (flags & kMsgPeek) != 0 ? MSG_PEEK : 0;
    return host;
}

// The host's socket option for one of the interface's, at its level.
bool HostOption(int level, int option, int& hostLevel, int& hostOption) {
    if (level == kSolSocket) {
        hostLevel = SOL_SOCKET;
        switch (option) {
            case kSoReuseAddr:
                hostOption = SO_REUSEADDR;
                return true;
            case kSoKeepAlive:
                hostOption = SO_KEEPALIVE;
                return true;
            case kSoBroadcast:
                hostOption = SO_BROADCAST;
                return true;
            case kSoSndBuf:
                hostOption = SO_SNDBUF;
                return true;
            case kSoRcvBuf:
                hostOption = SO_RCVBUF;
                return true;
            default:
                return false;
        }
    }
    if (level == kIpProtoTcp && option == kTcpNoDelay) {
        hostLevel = IPPROTO_TCP;
        hostOption = TCP_NODELAY;
        return true;
    }
    return false;
}

}  // namespace

std::shared_ptr<HostSocket> HostSocket::Create(int type, int protocol, int& error) {
    bool stream = type == kSockStream;
    if ((type != kSockStream && type != kSockDgram) ||
        (protocol != 0 && protocol != (stream ? kIpProtoTcp : kIpProtoUdp))) {
        error = type != kSockStream && type != kSockDgram ? kWsaEsocktnosupport : kWsaEprotonosupport;
        return nullptr;
    }
    int fd = socket(AF_INET, (stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = SocketErrorNumber(errno);
        return nullptr;
    }
    return std::make_shared<HostSocket>(fd, type);
}

HostSocket::HostSocket(int fd, int type) : LibrarySocket(type), fd_(fd) {}

HostSocket::~HostSocket() {
    close(fd_);
}

void HostSocket::Release() {
    // Only a stream tells its peer of its end: a datagram socket needs no look at its linger setting
    // first (the console's keep-alive round closes a socket for every print server).
    if (Type() != kSockStream) {
        return;
    }
    linger lingering{};
    socklen_t length = sizeof lingering;
    getsockopt(fd_, SOL_SOCKET, SO_LINGER, &lingering, &length);
    const bool abortive = lingering.l_onoff != 0 && lingering.l_linger == 0;
    if (!abortive) {
        shutdown(fd_, SHUT_RDWR);  // the peer sees the end now; waits on the socket wake
    }
}

int HostSocket::Bind(const SocketAddress* address, int length) {
    sockaddr_in host;
    if (int error = InetFromInterface(address, length, host); error != 0) {
        return Fail(error);
    }
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&host), sizeof host) != 0) {
        return Fail(SocketErrorNumber(errno));
    }
    return 0;
}

int HostSocket::Connect(const SocketAddress* address, int length) {
    sockaddr_in host;
    if (int error = InetFromInterface(address, length, host); error != 0) {
        return Fail(error);
    }
    SettleConnect();  // a connect under way may have ended since it was last looked at
    if (connecting_) {
        return Fail(kWsaEalready);
    }
    if (connect(fd_, reinterpret_cast<const sockaddr*>(&host), sizeof host) == 0) {
        return 0;
    }
    if (errno != EINPROGRESS) {
        return Fail(SocketErrorNumber(errno));
    }
    connecting_ = true;
    connectError_ = 0;
    if (int error = Wait(WritePoll(), kConnectLimitMs); error != 0) {
        return Fail(error);  // non-blocking: "would block" while it goes on
    }
    SettleConnect();
    return connectError_ == 0 ? 0 : Fail(connectError_);
}

void HostSocket::SettleConnect() {
    if (!connecting_) {
        return;
    }
    pollfd entry{fd_, POLLOUT, 0};
    if (poll(&entry, 1, 0) != 1) {
        return;
    }
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length);
    connectError_ = error == 0 ? 0 : SocketErrorNumber(error);
    connecting_ = false;
}

int HostSocket::Listen(int backlog) {
    if (listen(fd_, backlog) != 0) {
        return Fail(SocketErrorNumber(errno));
    }
    return 0;
}

std::shared_ptr<LibrarySocket> HostSocket::Accept(SocketAddress* address, int* length) {
    if (address != nullptr && (length == nullptr || *length < static_cast<int>(sizeof(SocketAddressIn)))) {
        Fail(kWsaEfault);
        return nullptr;
    }
    for (;;) {
        sockaddr_in peer{};
        socklen_t peerLength = sizeof peer;
        int fd = accept4(fd_, reinterpret_cast<sockaddr*>(&peer), &peerLength, SOCK_NONBLOCK | SOCK_CLOEXEC);
        Received();
        if (fd >= 0) {
            if (address != nullptr) {
                InetToInterface(peer, address, length);
            }
            return std::make_shared<HostSocket>(fd, kSockStream);
        }
        if (errno != EAGAIN && errno != EINTR) {
            Fail(SocketErrorNumber(errno));
            return nullptr;
        }
        if (int error = Wait(ReadPoll(), 0); error != 0) {
            Fail(error);
            return nullptr;
        }
    }
}

int HostSocket::SendAll(const char* buffer, int length, int flags, const sockaddr_in* to) {
    if ((buffer == nullptr && length > 0) || length < 0) {
        return Fail(kWsaEfault);
    }
    int sent = 0;
    for (;;) {
        ssize_t n = to != nullptr
                        ? sendto(fd_, buffer + sent, static_cast<std::size_t>(length - sent),
                                 HostFlags(flags), reinterpret_cast<const sockaddr*>(to), sizeof *to)
                        : send(fd_, buffer + sent, static_cast<std::size_t>(length - sent), HostFlags(flags));
        if (n >= 0) {
            sent += static_cast<int>(n);
            if (sent == length || Type() == kSockDgram || NonBlocking()) {
                return sent;
            }
            continue;
        }
        if (errno != EAGAIN && errno != EINTR) {
            int error = SocketErrorNumber(errno);
            return sent > 0 ? sent
                            : Fail(error == kWsaEnotconn && Type() == kSockDgram ? kWsaEdestaddrreq : error);
        }
        if (int error = Wait(WritePoll(), SendTimeout()); error != 0) {
            return sent > 0 ? sent : Fail(error);
        }
    }
}

int HostSocket::Send(const char* buffer, int length, int flags) {
    return SendAll(buffer, length, flags, nullptr);
}

int HostSocket::SendTo(const char* buffer, int length, int flags, const SocketAddress* to, int toLength) {
    if (to == nullptr || Type() == kSockStream) {
        return SendAll(buffer, length, flags, nullptr);  // a stream goes to its peer, whatever is named
    }
    sockaddr_in host;
    if (int error = InetFromInterface(to, toLength, host); error != 0) {
        return Fail(error);
    }
    return SendAll(buffer, length, flags, &host);
}

int HostSocket::Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                        bool* partial) {
    if ((buffer == nullptr && length > 0) || length < 0) {
        return Fail(kWsaEfault);
    }
    bool datagram = Type() == kSockDgram;
    if (datagram && from != nullptr &&
        (fromLength == nullptr || *fromLength < static_cast<int>(sizeof(SocketAddressIn)))) {
        return Fail(kWsaEfault);
    }
    for (;;) {
        sockaddr_in sender{};
        iovec part{buffer, static_cast<std::size_t>(length)};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        ssize_t got = recvmsg(fd_, &message, HostFlags(flags));
        int hostError = errno;
        Received();
        if (got >= 0) {
            if (datagram && from != nullptr) {
                InetToInterface(sender, from, fromLength);
            }
            bool cut = datagram && (message.msg_flags & MSG_TRUNC) != 0;
            if (partial != nullptr) {
                *partial = cut;
            } else if (cut) {
                return Fail(kWsaEmsgsize);  // the buffer holds the first part; the rest is gone
            }
            return static_cast<int>(got);
        }
        if (hostError != EAGAIN && hostError != EINTR) {
            // An unreachable port answers a datagram; the interface reports it as a reset.
            return Fail(datagram && hostError == ECONNREFUSED ? kWsaEconnreset
                                                              : SocketErrorNumber(hostError));
        }
        if (int error = Wait(ReadPoll(), ReceiveTimeout()); error != 0) {
            return Fail(error);
        }
    }
}

int HostSocket::GetName(SocketAddress* address, int* length) {
    sockaddr_in host{};
    socklen_t hostLength = sizeof host;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&host), &hostLength) != 0) {
        return Fail(SocketErrorNumber(errno));
    }
    if (host.sin_port == 0 && host.sin_addr.s_addr == 0) {
        return Fail(kWsaEinval);  // not bound yet
    }
    int error = InetToInterface(host, address, length);
    return error == 0 ? 0 : Fail(error);
}

int HostSocket::GetPeer(SocketAddress* address, int* length) {
    sockaddr_in host{};
    socklen_t hostLength = sizeof host;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&host), &hostLength) != 0) {
        return Fail(SocketErrorNumber(errno));
    }
    int error = InetToInterface(host, address, length);
    return error == 0 ? 0 : Fail(error);
}

int HostSocket::Shutdown(int how) {
    static constexpr int kHow[] = {SHUT_RD, SHUT_WR, SHUT_RDWR};
    if (how < kShutReceive || how > kShutBoth) {
        return Fail(kWsaEinval);
    }
    if (shutdown(fd_, kHow[how]) != 0) {
        return Fail(SocketErrorNumber(errno));
    }
    return 0;
}

LibrarySocket::PollTarget HostSocket::ExceptPoll() {
    return connecting_ ? PollTarget{fd_, POLLOUT} : PollTarget{};
}

bool HostSocket::ReadReady(short revents) {
    return (revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

bool HostSocket::WriteReady(short revents) {
    SettleConnect();
    return !connecting_ && connectError_ == 0 && (revents & POLLOUT) != 0;
}

bool HostSocket::ExceptReady(short) {
    SettleConnect();
    return !connecting_ && connectError_ != 0;
}

bool HostSocket::SetOwnOption(int level, int option, const char* value, int length, int& error) {
    int hostLevel = 0;
    int hostOption = 0;
    int number = 0;
    OptionNumber(value, length, number);
    if (level == kSolSocket && (option == kSoLinger || option == kSoDontLinger)) {
        Linger given{static_cast<std::uint16_t>(number == 0), 0};
        if (option == kSoLinger) {
            if (length < static_cast<int>(sizeof given)) {
                error = kWsaEfault;
                return true;
            }
            std::memcpy(&given, value, sizeof given);
        }
        linger host{given.onOff != 0, given.seconds};
        error =
            setsockopt(fd_, SOL_SOCKET, SO_LINGER, &host, sizeof host) == 0 ? 0 : SocketErrorNumber(errno);
        return true;
    }
    if (!HostOption(level, option, hostLevel, hostOption)) {
        return false;
    }
    error =
        setsockopt(fd_, hostLevel, hostOption, &number, sizeof number) == 0 ? 0 : SocketErrorNumber(errno);
    return true;
}

bool HostSocket::GetOwnOption(int level, int option, char* value, int* length, int& error) {
    if (level == kSolSocket && option == kSoError) {
        int pending = connectError_.exchange(0);
        if (pending == 0) {
            int hostError = 0;
            socklen_t hostLength = sizeof hostError;
            getsockopt(fd_, SOL_SOCKET, SO_ERROR, &hostError, &hostLength);
            pending = hostError == 0 ? 0 : SocketErrorNumber(hostError);
        }
        error = PutOptionNumber(pending, value, length);
        return true;
    }
    if (level == kSolSocket && option == kSoLinger) {
        linger host{};
        socklen_t hostLength = sizeof host;
        getsockopt(fd_, SOL_SOCKET, SO_LINGER, &host, &hostLength);
        if (*length < static_cast<int>(sizeof(Linger))) {
            error = kWsaEfault;
            return true;
        }
        Linger given{static_cast<std::uint16_t>(host.l_onoff), static_cast<std::uint16_t>(host.l_linger)};
        std::memcpy(value, &given, sizeof given);
        *length = sizeof given;
        return true;
    }
    int hostLevel = 0;
    int hostOption = 0;
    if (!HostOption(level, option, hostLevel, hostOption)) {
        return false;
    }
    int number = 0;
    socklen_t hostLength = sizeof number;
    getsockopt(fd_, hostLevel, hostOption, &number, &hostLength);
    error = PutOptionNumber(number, value, length);
    return true;
}

int HostSocket::BytesReadable(std::uint32_t& count) {
    int available = 0;
    if (ioctl(fd_, FIONREAD, &available) != 0) {
        return SocketErrorNumber(errno);
    }
    count = static_cast<std::uint32_t>(available);
    return 0;
}

}  // namespace plat
