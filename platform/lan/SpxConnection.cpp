#include "platform/lan/SpxConnection.h"

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>

#include "platform/lan/LanHooks.h"

namespace plat {

namespace {

constexpr std::uint8_t kWindow = 8;
constexpr std::size_t kQueueLimit = 16;  // packets taken from the program and not yet acknowledged

// Connections the segment keeps alive until their handshakes are over.
std::set<std::shared_ptr<SpxConnection>>& Live() {
    static auto* live = new std::set<std::shared_ptr<SpxConnection>>;
    return *live;
}

// The program's end waits for the connections it closed, as a host's own stack carries a closed
// stream to its end after the program has gone: the engine is a thread of this process, and without
// the wait the last bytes and the closing handshake would die with it, leaving the peer waiting for
// an end that never comes. The link gives up on a silent peer within its resends, so the wait is
// bounded by them: the last bytes, then the disconnect.
void AwaitClosingAtExit() {
    const LanTiming timing = GetLanTiming();
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(2 * (timing.retries + 2) * timing.retransmitMs);
    while (SpxConnection::AnyClosing() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Signal(int fd) {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(fd, &one, sizeof one);
}

}  // namespace

SpxConnection::SpxConnection(std::unique_ptr<LanPort> port, std::uint16_t connection, const IpxAddress& local,
                             const IpxAddress& remote, int userFd, int engineFd)
    : port_(std::move(port)),
      connection_(connection),
      local_(local),
      remote_(remote),
      userFd_(userFd),
      engineFd_(engineFd),
      statusFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      link_(*this, kWindow) {}

SpxConnection::~SpxConnection() {
    std::lock_guard guard(LanLock());
    LanEngine::Get().Unwatch(portWatch_);
    LanEngine::Get().Unwatch(engineWatch_);
    for (int fd : {engineFd_, userFd_, statusFd_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

std::shared_ptr<SpxConnection> SpxConnection::Make(const IpxAddress& local, const IpxAddress& remote,
                                                   int& error) {
    std::uint16_t connection = 0;
    std::unique_ptr<LanPort> port = LanPort::BindFree(EndpointKind::SpxConnection, local.node, 1,
                                                      kSpxUnknownConnection - 1, connection, error);
    if (!port) {
        return nullptr;
    }
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        error = errno;
        return nullptr;
    }
    return std::shared_ptr<SpxConnection>(
        new SpxConnection(std::move(port), connection, local, remote, ends[0], ends[1]));
}

void SpxConnection::Start() {
    Live().insert(shared_from_this());
    portWatch_ = LanEngine::Get().Watch(port_->Fd(), POLLIN, [this](short) { OnPortReadable(); });
    engineWatch_ = LanEngine::Get().Watch(engineFd_, 0, [this](short revents) { OnEngineFd(revents); });
}

std::shared_ptr<SpxConnection> SpxConnection::Connect(const IpxAddress& local, const IpxAddress& remote,
                                                      int& error) {
    std::lock_guard guard(LanLock());
    std::shared_ptr<SpxConnection> connection = Make(local, remote, error);
    if (!connection) {
        return nullptr;
    }
    connection->Start();
    // A station that is there but has no such socket refuses at once; an absent one never answers.
    if (!LanEndpointExists(EndpointName(EndpointKind::SpxListener, remote.node, remote.socket)) &&
        LanStationPresent(remote.node)) {
        connection->Finish(Status::Refused);
    } else {
        connection->link_.Connect();
    }
    return connection;
}

std::shared_ptr<SpxConnection> SpxConnection::Accept(const IpxAddress& local, const IpxAddress& remote,
                                                     std::uint16_t remoteConnection, int& error) {
    std::lock_guard guard(LanLock());
    std::shared_ptr<SpxConnection> connection = Make(local, remote, error);
    if (!connection) {
        return nullptr;
    }
    connection->remoteConnection_ = remoteConnection;
    connection->Start();
    connection->link_.Accept();
    connection->Notify(ReliableLink::Event::Connected);
    return connection;
}

SpxConnection::Status SpxConnection::GetStatus() const {
    std::lock_guard guard(LanLock());
    return status_;
}

void SpxConnection::Close() {
    std::lock_guard guard(LanLock());
    if (userClosed_) {
        return;
    }
    userClosed_ = true;
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(AwaitClosingAtExit); });
    close(userFd_);
    userFd_ = -1;
    if (status_ == Status::Connecting) {
        Abort();
    } else {
        UpdateInterest();  // the engine reads the end of the program's stream
    }
}

bool SpxConnection::AnyClosing() {
    std::lock_guard guard(LanLock());
    for (const std::shared_ptr<SpxConnection>& connection : Live()) {
        if (connection->userClosed_ && !connection->finished_) {
            return true;
        }
    }
    return false;
}

void SpxConnection::Abort() {
    std::lock_guard guard(LanLock());
    link_.Abort();
    Finish(Status::Aborted);
}

void SpxConnection::OnPortReadable() {
    std::vector<std::uint8_t> bytes;
    while (!finished_ && port_->Receive(bytes)) {
        auto frame = DecodeLanFrame(bytes);
        if (!frame || frame->kind != LanFrame::Kind::Ipx) {
            continue;
        }
        auto packet = DecodeSpxPacket(frame->ipx);
        bool fromPeer =
            packet && packet->source.node == remote_.node &&
            (packet->sourceConnection == remoteConnection_ || remoteConnection_ == kSpxUnknownConnection);
        if (fromPeer && packet->destinationConnection == connection_) {
            OnPacket(*packet);
        }
    }
}

void SpxConnection::OnPacket(const SpxPacket& packet) {
    if (remoteConnection_ == kSpxUnknownConnection && packet.frame.kind == ReliableLink::FrameKind::Confirm) {
        remoteConnection_ = packet.sourceConnection;
    }
    link_.OnFrame(packet.frame);
}

void SpxConnection::Transmit(const ReliableLink::Frame& frame) {
    bool toListener = remoteConnection_ == kSpxUnknownConnection;
    SpxPacket packet{local_, remote_, connection_, remoteConnection_, frame};
    SendSpxPacket(packet, toListener
                              ? EndpointName(EndpointKind::SpxListener, remote_.node, remote_.socket)
                              : EndpointName(EndpointKind::SpxConnection, remote_.node, remoteConnection_));
}

bool SpxConnection::Deliver(std::vector<std::uint8_t>& data, bool end) {
    if (!pending_.empty()) {
        return false;
    }
    WriteToProgram(data.data(), data.size());
    if (end) {
        receiveEnded_ = true;
        if (pending_.empty() && engineFd_ >= 0) {
            shutdown(engineFd_, SHUT_WR);
        }
        std::weak_ptr<SpxConnection> weak = weak_from_this();
        LanEngine::Get().After(0, [weak] {
            if (auto self = weak.lock()) {
                self->CheckFinished();
            }
        });
    }
    UpdateInterest();
    return true;
}

void SpxConnection::Acknowledged(std::size_t) {
    UpdateInterest();
    std::weak_ptr<SpxConnection> weak = weak_from_this();
    LanEngine::Get().After(0, [weak] {
        if (auto self = weak.lock()) {
            self->CheckFinished();
        }
    });
}

void SpxConnection::Notify(ReliableLink::Event event) {
    switch (event) {
        case ReliableLink::Event::Connected:
            status_ = Status::Connected;
            Signal(statusFd_);
            UpdateInterest();
            break;
        case ReliableLink::Event::ConnectFailed:
            Finish(Status::TimedOut);
            break;
        case ReliableLink::Event::Refused:
            Finish(Status::Refused);
            break;
        case ReliableLink::Event::PeerReset:
            Finish(Status::Reset);
            break;
        case ReliableLink::Event::Lost:
            Finish(Status::Aborted);
            break;
        case ReliableLink::Event::PeerDisconnected:
        case ReliableLink::Event::Closed:
            Finish(Status::Closed);
            break;
        case ReliableLink::Event::RemoteBusy:
        case ReliableLink::Event::RemoteReady:
            break;
    }
}

void SpxConnection::OnEngineFd(short revents) {
    if ((revents & POLLOUT) != 0) {
        FlushPending();
    }
    if ((revents & (POLLIN | POLLHUP | POLLERR)) != 0 && engineFd_ >= 0) {
        ReadFromProgram();
    }
}

void SpxConnection::ReadFromProgram() {
    std::uint8_t buffer[kSpxMaxData];
    while (status_ == Status::Connected && !sendEnded_ && link_.Unconfirmed() < kQueueLimit) {
        ssize_t got = recv(engineFd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            link_.Send(std::vector<std::uint8_t>(buffer, buffer + got));
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            sendEnded_ = true;
            link_.Send({}, true);
        } else {
            break;
        }
    }
    UpdateInterest();
}

void SpxConnection::WriteToProgram(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || engineFd_ < 0) {
        return;
    }
    ssize_t sent = send(engineFd_, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) {
        if (errno == EAGAIN) {
            pending_.assign(data, data + size);
        }
        return;  // otherwise the program has gone: what arrives is dropped
    }
    pending_.assign(data + sent, data + size);
}

void SpxConnection::FlushPending() {
    if (pending_.empty() || engineFd_ < 0) {
        return;
    }
    ssize_t sent = send(engineFd_, pending_.data(), pending_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0 && errno == EAGAIN) {
        return;
    }
    if (sent < 0) {
        pending_.clear();
    } else {
        pending_.erase(pending_.begin(), pending_.begin() + sent);
    }
    if (!pending_.empty()) {
        return;
    }
    if (receiveEnded_) {
        shutdown(engineFd_, SHUT_WR);
    }
    if (finished_) {
        CloseEngineEnd();
        return;
    }
    link_.SetLocalBusy(false);
    UpdateInterest();
}

void SpxConnection::UpdateInterest() {
    if (engineFd_ < 0) {
        return;
    }
    short events = 0;
    if (status_ == Status::Connected && !sendEnded_ && link_.Unconfirmed() < kQueueLimit) {
        events |= POLLIN;
    }
    if (!pending_.empty()) {
        events |= POLLOUT;
    }
    LanEngine::Get().SetEvents(engineWatch_, events);
}

void SpxConnection::CheckFinished() {
    bool sentAll = sendEnded_ && link_.Unconfirmed() == 0;
    bool doneReading = (receiveEnded_ && pending_.empty()) || userClosed_;
    if (status_ == Status::Connected && link_.GetState() == ReliableLink::State::Connected && sentAll &&
        doneReading) {
        link_.Disconnect();
    }
}

void SpxConnection::Finish(Status status) {
    if (finished_) {
        return;
    }
    finished_ = true;
    if (status_ == Status::Connecting || status_ == Status::Connected) {
        status_ = status;
    }
    Signal(statusFd_);
    LanEngine::Get().Unwatch(portWatch_);
    portWatch_ = 0;
    if (pending_.empty()) {
        CloseEngineEnd();
    }
}

void SpxConnection::CloseEngineEnd() {
    LanEngine::Get().Unwatch(engineWatch_);
    engineWatch_ = 0;
    if (engineFd_ >= 0) {
        close(engineFd_);
        engineFd_ = -1;
    }
    std::shared_ptr<SpxConnection> self = shared_from_this();
    LanEngine::Get().After(0, [self] { Live().erase(self); });
}

}  // namespace plat
