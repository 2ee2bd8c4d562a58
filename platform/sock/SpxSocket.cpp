#include "platform/sock/SpxSocket.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>
#include <random>

#include "platform/lan/LanSettings.h"
#include "platform/sock/AddressForms.h"
#include "platform/sock/SocketError.h"

namespace plat {

namespace {

using Status = SpxConnection::Status;

bool Failed(Status status) {
    return status == Status::Refused || status == Status::TimedOut;
}

// The error of a connection that ended badly, for the stream's reads and writes.
int EndedError(Status status) {
    return status == Status::Aborted ? kWsaEconnaborted : kWsaEconnreset;
}

std::uint16_t DynamicSocket() {
    return static_cast<std::uint16_t>(kFirstDynamicSocket + std::random_device{}() % kDynamicSockets);
}

}  // namespace

SpxSocket::SpxSocket(int type, std::shared_ptr<SpxConnection> connection)
    : LibrarySocket(type), connection_(std::move(connection)) {}

SpxSocket::~SpxSocket() {
    if (connection_) {
        connection_->Close();
    }
}

std::shared_ptr<SpxConnection> SpxSocket::Connection() const {
    std::lock_guard guard(partsLock_);
    return connection_;
}

void SpxSocket::Release() {
    if (auto connection = Connection()) {
        shutdown(connection->Fd(), SHUT_RDWR);  // the stream ends after what was written; waits wake
    }
}

int SpxSocket::Bind(const SocketAddress* address, int length) {
    IpxAddress wanted;
    if (int error = IpxFromInterface(address, length, wanted); error != 0) {
        return Fail(error);
    }
    if (wanted.network != 0 && wanted.network != LocalIpxNetwork()) {
        return Fail(kWsaEaddrnotavail);
    }
    std::lock_guard guard(partsLock_);
    if (listener_ || connection_) {
        return Fail(kWsaEinval);
    }
    int error = 0;
    listener_ =
        SpxListener::Open(wanted.node.IsZero() ? LocalStationAddress() : wanted.node, wanted.socket, error);
    if (!listener_) {
        return Fail(SocketErrorNumber(error));
    }
    return 0;
}

int SpxSocket::Listen(int backlog) {
    std::lock_guard guard(partsLock_);
    if (!listener_ || connection_) {
        return Fail(kWsaEinval);
    }
    listener_->Listen(static_cast<std::size_t>(std::max(backlog, 1)));
    listening_ = true;
    return 0;
}

std::shared_ptr<LibrarySocket> SpxSocket::Accept(SocketAddress* address, int* length) {
    if (address != nullptr && (length == nullptr || *length < static_cast<int>(sizeof(SocketAddressIpx)))) {
        Fail(kWsaEfault);
        return nullptr;
    }
    SpxListener* listener = nullptr;
    {
        std::lock_guard guard(partsLock_);
        listener = listening_ ? listener_.get() : nullptr;
    }
    if (listener == nullptr) {
        Fail(kWsaEinval);
        return nullptr;
    }
    for (;;) {
        std::shared_ptr<SpxConnection> connection = listener->Accept();
        if (connection) {
            if (address != nullptr) {
                IpxToInterface(connection->Remote(), address, length);
            }
            return std::make_shared<SpxSocket>(Type(), std::move(connection));
        }
        if (int error = Wait(PollTarget{listener->Fd(), POLLIN}, 0); error != 0) {
            Fail(error);
            return nullptr;
        }
    }
}

int SpxSocket::Connect(const SocketAddress* address, int length) {
    IpxAddress remote;
    if (int error = IpxFromInterface(address, length, remote); error != 0) {
        return Fail(error);
    }
    std::shared_ptr<SpxConnection> connection;
    {
        std::lock_guard guard(partsLock_);
        if (listening_) {
            return Fail(kWsaEinval);
        }
        if (connection_) {
            return Fail(connection_->GetStatus() == Status::Connecting ? kWsaEalready : kWsaEisconn);
        }
        IpxAddress local = listener_ ? listener_->Address()
                                     : IpxAddress{LocalIpxNetwork(), LocalStationAddress(), DynamicSocket()};
        if (remote.network != 0 && remote.network != local.network) {
            return Fail(kWsaEnetunreach);  // the segment has no router
        }
        int error = 0;
        connection_ = SpxConnection::Connect(local, remote, error);
        if (!connection_) {
            return Fail(SocketErrorNumber(error));
        }
        connection = connection_;
    }
    DescriptorReady();
    if (int error = Wait(PollTarget{connection->StatusFd(), POLLIN}, 0); error != 0) {
        return Fail(error);
    }
    switch (connection->GetStatus()) {
        case Status::Connected:
        case Status::Closed:
            return 0;
        case Status::Refused:
            return Fail(kWsaEconnrefused);
        case Status::TimedOut:
            return Fail(kWsaEtimedout);
        default:
            return Fail(kWsaEconnaborted);
    }
}

int SpxSocket::ConnectionError() const {
    std::shared_ptr<SpxConnection> connection = Connection();
    if (!connection) {
        return kWsaEnotconn;
    }
    Status status = connection->GetStatus();
    if (status == Status::Connecting || Failed(status)) {
        return kWsaEnotconn;
    }
    return status == Status::Reset || status == Status::Aborted ? EndedError(status) : 0;
}

int SpxSocket::Send(const char* buffer, int length, int flags) {
    if ((buffer == nullptr && length > 0) || length < 0) {
        return Fail(kWsaEfault);
    }
    std::shared_ptr<SpxConnection> connection = Connection();
    int sent = 0;
    for (;;) {
        if (int error = ConnectionError(); error != 0) {
            return sent > 0 ? sent : Fail(error);
        }
        ssize_t n = send(connection->Fd(), buffer + sent, static_cast<std::size_t>(length - sent),
                         MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n >= 0) {
            sent += static_cast<int>(n);
            if (sent == length || NonBlocking()) {
                return sent;
            }
            continue;
        }
        if (errno == EPIPE || errno == ECONNRESET) {
            int error = ConnectionError();
            return sent > 0 ? sent : Fail(error != 0 ? error : kWsaEconnreset);
        }
        if (errno != EAGAIN && errno != EINTR) {
            return sent > 0 ? sent : Fail(SocketErrorNumber(errno));
        }
        if (int error = Wait(PollTarget{connection->Fd(), POLLOUT}, SendTimeout()); error != 0) {
            return sent > 0 ? sent : Fail(error);
        }
    }
}

int SpxSocket::Receive(char* buffer, int length, int flags, SocketAddress*, int*, bool* partial) {
    if ((buffer == nullptr && length > 0) || length < 0) {
        return Fail(kWsaEfault);
    }
    std::shared_ptr<SpxConnection> connection = Connection();
    for (;;) {
        if (int error = ConnectionError(); error == kWsaEnotconn) {
            return Fail(error);
        }
        ssize_t got = recv(connection->Fd(), buffer, static_cast<std::size_t>(length),
                           MSG_DONTWAIT | ((flags & kMsgPeek) != 0 ? MSG_PEEK : 0));
        int hostError = errno;
        Received();
        if (partial != nullptr) {
            *partial = false;
        }
        if (got > 0 || (got == 0 && length == 0)) {
            return static_cast<int>(got);
        }
        if (got == 0 || hostError == ECONNRESET) {
            int error = ConnectionError();
            return error == 0 ? 0 : Fail(error);  // the end of the peer's stream, or a broken connection
        }
        if (hostError != EAGAIN && hostError != EINTR) {
            return Fail(SocketErrorNumber(hostError));
        }
        if (int error = Wait(PollTarget{connection->Fd(), POLLIN}, ReceiveTimeout()); error != 0) {
            return Fail(error);
        }
    }
}

int SpxSocket::GetName(SocketAddress* address, int* length) {
    IpxAddress local;
    {
        std::lock_guard guard(partsLock_);
        if (connection_) {
            local = connection_->Local();
        } else if (listener_) {
            local = listener_->Address();
        } else {
            return Fail(kWsaEinval);
        }
    }
    int error = IpxToInterface(local, address, length);
    return error == 0 ? 0 : Fail(error);
}

int SpxSocket::GetPeer(SocketAddress* address, int* length) {
    std::shared_ptr<SpxConnection> connection = Connection();
    if (!connection || connection->GetStatus() == Status::Connecting || Failed(connection->GetStatus())) {
        return Fail(kWsaEnotconn);
    }
    int error = IpxToInterface(connection->Remote(), address, length);
    return error == 0 ? 0 : Fail(error);
}

int SpxSocket::Shutdown(int how) {
    if (how < kShutReceive || how > kShutBoth) {
        return Fail(kWsaEinval);
    }
    std::shared_ptr<SpxConnection> connection = Connection();
    if (ConnectionError() == kWsaEnotconn) {
        return Fail(kWsaEnotconn);
    }
    if (how != kShutReceive) {
        shutdown(connection->Fd(), SHUT_WR);  // the end of this side's stream
    }
    return 0;
}

LibrarySocket::PollTarget SpxSocket::ReadPoll() {
    std::lock_guard guard(partsLock_);
    if (listening_) {
        return {listener_->Fd(), POLLIN};
    }
    if (!connection_) {
        return {};
    }
    return connection_->GetStatus() == Status::Connecting ? PollTarget{connection_->StatusFd(), POLLIN}
                                                          : PollTarget{connection_->Fd(), POLLIN};
}

bool SpxSocket::ReadReady(short revents) {
    std::shared_ptr<SpxConnection> connection = Connection();
    if (!connection) {
        return revents != 0;  // a listening socket with a connection waiting
    }
    if (connection->GetStatus() == Status::Connecting || Failed(connection->GetStatus())) {
        return false;
    }
    pollfd stream{connection->Fd(), POLLIN, 0};
    return poll(&stream, 1, 0) == 1;  // data, the end of the stream, or a broken connection
}

LibrarySocket::PollTarget SpxSocket::WritePoll() {
    std::shared_ptr<SpxConnection> connection = Connection();
    if (!connection) {
        return {};
    }
    Status status = connection->GetStatus();
    if (status == Status::Connecting) {
        return {connection->StatusFd(), POLLIN};
    }
    if (Failed(status)) {
        return {};
    }
    return {connection->Fd(), POLLOUT};
}

bool SpxSocket::WriteReady(short revents) {
    std::shared_ptr<SpxConnection> connection = Connection();
    return connection && connection->GetStatus() != Status::Connecting && !Failed(connection->GetStatus()) &&
           revents != 0;
}

LibrarySocket::PollTarget SpxSocket::ExceptPoll() {
    std::shared_ptr<SpxConnection> connection = Connection();
    if (!connection) {
        return {};
    }
    Status status = connection->GetStatus();
    return status == Status::Connecting ? PollTarget{connection->StatusFd(), POLLIN}
                                        : PollTarget{-1, 0, Failed(status)};
}

bool SpxSocket::ExceptReady(short) {
    std::shared_ptr<SpxConnection> connection = Connection();
    return connection && Failed(connection->GetStatus());
}

bool SpxSocket::GetOwnOption(int level, int option, char* value, int* length, int& error) {
    if (level != kSolSocket || option != kSoError) {
        return false;
    }
    std::shared_ptr<SpxConnection> connection = Connection();
    Status status = connection ? connection->GetStatus() : Status::Connecting;
    int pending = status == Status::Refused    ? kWsaEconnrefused
                  : status == Status::TimedOut ? kWsaEtimedout
                                               : 0;
    error = PutOptionNumber(pending, value, length);
    return true;
}

int SpxSocket::BytesReadable(std::uint32_t& count) {
    std::shared_ptr<SpxConnection> connection = Connection();
    int available = 0;
    if (connection && connection->Fd() >= 0) {
        ioctl(connection->Fd(), FIONREAD, &available);
    }
    count = static_cast<std::uint32_t>(available);
    return 0;
}

bool SpxSocket::Notifiable() const {
    std::lock_guard guard(partsLock_);
    return !listening_;
}

int SpxSocket::AsyncFd() const {
    std::shared_ptr<SpxConnection> connection = Connection();
    return connection ? connection->Fd() : -1;
}

}  // namespace plat
