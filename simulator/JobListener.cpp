#include "simulator/JobListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanSettings.h"
#include "platform/lan/SpxListener.h"
#include "simulator/CardValueText.h"
#include "simulator/DescriptorLimit.h"
#include "simulator/DlcJobPort.h"
#include "simulator/StreamJobSession.h"

namespace sim {

namespace {

constexpr size_t SpxBacklog = 16;

// A card without an address yet (0.0.0.0) has no job port either.
bool SpeaksTcp(const CardDescription& card) {
    return (card.protocols & Bit(Protocol::Ip)) != 0 && card.ip != Ipv4{};
}

// Ends a TCP connection with a reset in place of the orderly close.
void ResetSocket(int fd) {
    const linger abrupt{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
    close(fd);
}

}  // namespace

JobListener::JobListener(JobListenerOptions options) : options_(std::move(options)) {}

JobListener::~JobListener() {
    Stop();
}

size_t JobListener::AddCard(const CardDescription& card) {
    CardListener listener;
    listener.card = card;
    cards_.push_back(std::move(listener));
    return cards_.size() - 1;
}

bool JobListener::Start(std::string& error) {
    RaiseDescriptorLimit();
    book_ = std::make_unique<JobBook>(cards_.size());
    sessions_ = std::make_unique<SessionPool>(options_.maxSessions);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    for (size_t index = 0; index < cards_.size(); ++index) {
        CardListener& listener = cards_[index];
        if (SpeaksTcp(listener.card) && !OpenTcp(listener)) {
            error = "job port 2000 of card " + listener.card.name + ": " + std::strerror(errno);
            Stop();
            return false;
        }
        if (plat::LanConfigured() && !OpenLan(listener, index, error)) {
            Stop();
            return false;
        }
    }
    thread_ = std::thread([this] { Run(); });
    return true;
}

void JobListener::Stop() {
    if (stopFd_ < 0) {
        return;
    }
    const uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    book_->Close();
    if (thread_.joinable()) {
        thread_.join();
    }
    sessions_->Stop();
    for (CardListener& listener : cards_) {
        if (listener.tcpFd >= 0) {
            close(listener.tcpFd);
            listener.tcpFd = -1;
        }
        std::lock_guard lock(plat::LanLock());
        listener.dlc.reset();
        listener.status.reset();
        listener.job.reset();
    }
    close(stopFd_);
    close(wakeFd_);
    stopFd_ = wakeFd_ = -1;
}

bool JobListener::OpenTcp(CardListener& listener) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(JobTcpPort);
    std::memcpy(&address.sin_addr, listener.card.ip.data(), 4);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0) {
        const int failure = errno;
        close(fd);
        errno = failure;
        return false;
    }
    listener.tcpFd = fd;
    return true;
}

bool JobListener::OpenSpx(CardListener& listener) {
    plat::HardwareAddress station;
    station.bytes = listener.card.mac;
    int failure = 0;
    listener.status = plat::SpxListener::Open(station, StatusSpxSocket, failure);
    listener.job = plat::SpxListener::Open(station, JobSpxSocket, failure);
    if (!listener.status || !listener.job) {
        listener.status.reset();
        listener.job.reset();
        errno = failure;
        return false;
    }
    listener.status->Listen(SpxBacklog);
    listener.job->Listen(SpxBacklog);
    return true;
}

bool JobListener::OpenLan(CardListener& listener, size_t index, std::string& error) {
    if ((listener.card.protocols & Bit(Protocol::Ipx)) != 0 && !OpenSpx(listener)) {
        error = "SPX job sockets of card " + listener.card.name + ": " + std::strerror(errno);
        return false;
    }
    if ((listener.card.protocols & Bit(Protocol::Dlc)) != 0) {
        plat::HardwareAddress station;
        station.bytes = listener.card.mac;
        std::lock_guard lock(plat::LanLock());
        listener.dlc = DlcJobPort::Open(index, station, *book_, options_.keeping, error);
        return listener.dlc != nullptr;
    }
    return true;
}

void JobListener::SetFaults(size_t card, const JobFaults& faults) {
    std::unique_lock lock(listenersMutex_);
    const bool refusalChanged = book_->Faults(card).refuseConnects != faults.refuseConnects;
    book_->SetFaults(card, faults);
    if (!refusalChanged) {
        return;
    }
    // The accept thread opens or closes the listeners itself: a socket closed while another thread
    // polls it would go on listening until that poll ends.
    const uint64_t change = ++changesAsked_;
    const uint64_t one = 1;
    (void)!write(wakeFd_, &one, sizeof one);
    followed_.wait(lock, [&] { return changesFollowed_ >= change; });
}

std::optional<size_t> JobListener::FindCard(std::string_view key) const {
    if (!key.empty() && key.front() == '#') {
        std::optional<size_t> index = ParseNumber<size_t>(key.substr(1), 0, SIZE_MAX);
        return index && *index < cards_.size() ? index : std::nullopt;
    }
    const std::optional<Mac> mac = ParseMac(key);
    for (size_t index = 0; index < cards_.size(); ++index) {
        if (cards_[index].card.name == key || (mac && cards_[index].card.mac == *mac)) {
            return index;
        }
    }
    return std::nullopt;
}

JobFaults JobListener::Faults(size_t card) const {
    return book_->Faults(card);
}

std::vector<JobRecord> JobListener::Jobs(size_t card) const {
    return book_->Jobs(card);
}

size_t JobListener::Connections(size_t card) const {
    return book_->Connections(card);
}

bool JobListener::WaitForJobs(size_t card, size_t count, std::chrono::milliseconds timeout) const {
    return book_->WaitForJobs(card, count, timeout);
}

void JobListener::FollowRefusal(CardListener& listener, size_t index) {
    const bool refuse = book_->Faults(index).refuseConnects;
    const bool speaksIp = SpeaksTcp(listener.card);
    const bool speaksSpx = (listener.card.protocols & Bit(Protocol::Ipx)) != 0 && plat::LanConfigured();
    if (refuse && listener.tcpFd >= 0) {
        close(listener.tcpFd);
        listener.tcpFd = -1;
    } else if (!refuse && speaksIp && listener.tcpFd < 0) {
        OpenTcp(listener);
    }
    std::lock_guard lock(plat::LanLock());
    if (refuse) {
        listener.status.reset();
        listener.job.reset();
    } else if (speaksSpx && !listener.status) {
        OpenSpx(listener);
    }
}

void JobListener::Run() {
    while (true) {
        std::unique_lock lock(listenersMutex_);
        std::vector<pollfd> fds{{stopFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        struct Source {
            size_t card;
            bool spx;
            bool status;
        };
        std::vector<Source> sources;
        for (size_t index = 0; index < cards_.size(); ++index) {
            const CardListener& listener = cards_[index];
            if (listener.tcpFd >= 0) {
                fds.push_back({listener.tcpFd, POLLIN, 0});
                sources.push_back({index, false, false});
            }
            if (listener.status) {
                fds.push_back({listener.status->Fd(), POLLIN, 0});
                sources.push_back({index, true, true});
                fds.push_back({listener.job->Fd(), POLLIN, 0});
                sources.push_back({index, true, false});
            }
        }
        lock.unlock();
        if (poll(fds.data(), fds.size(), -1) < 0) {
            continue;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents != 0) {
            uint64_t count = 0;
            (void)!read(wakeFd_, &count, sizeof count);
            lock.lock();
            for (size_t index = 0; index < cards_.size(); ++index) {
                FollowRefusal(cards_[index], index);
            }
            changesFollowed_ = changesAsked_;
            followed_.notify_all();
            continue;
        }
        lock.lock();
        for (size_t i = 0; i < sources.size(); ++i) {
            if (fds[i + 2].revents != 0) {
                Accept(sources[i].card, fds[i + 2].fd, sources[i].spx, sources[i].status);
            }
        }
    }
}

// Beyond the bound of sessions a connection is answered busy at once, as a card that is printing
// answers.
void JobListener::Accept(size_t index, int fd, bool spx, bool status) {
    const StreamJobSession session{index, spx ? "spx" : "tcp", !spx || status, status, options_.keeping};
    if (!spx) {
        const int connection = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            return;
        }
        const bool launched = sessions_->Launch([this, connection, session] {
            if (RunStreamJobSession(connection, session, *book_, stopFd_) == SessionEnd::Reset) {
                ResetSocket(connection);
            } else {
                close(connection);
            }
        });
        if (!launched) {
            AnswerBusy(connection, index, *book_);
            close(connection);
        }
        return;
    }
    CardListener& listener = cards_[index];
    std::shared_ptr<plat::SpxConnection> connection =
        status ? listener.status->Accept() : listener.job->Accept();
    if (!connection) {
        return;
    }
    const bool launched = sessions_->Launch([this, connection, session] {
        if (RunStreamJobSession(connection->Fd(), session, *book_, stopFd_) == SessionEnd::Reset) {
            connection->Abort();
        } else {
            connection->Close();
        }
    });
    if (!launched && status) {
        AnswerBusy(connection->Fd(), index, *book_);
        connection->Close();
    } else if (!launched) {
        connection->Abort();
    }
}

}  // namespace sim
