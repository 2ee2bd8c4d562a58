#include "simulator/TftpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <random>

namespace sim {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlockSize = 512;

std::uint16_t Word(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

Bytes Request(const std::string& fileName, const std::string& mode) {
    Bytes packet{0, 1};
    packet.insert(packet.end(), fileName.begin(), fileName.end());
    packet.push_back(0);
    packet.insert(packet.end(), mode.begin(), mode.end());
    packet.push_back(0);
    return packet;
}

Bytes Ack(std::uint16_t block) {
    return {0, 4, static_cast<std::uint8_t>(block >> 8), static_cast<std::uint8_t>(block)};
}

class Link {
  public:
    explicit Link(const TftpClientOptions& options)
        : random_(options.seed), lost_(options.lossRate), fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        if (fd_ >= 0 && !options.source.empty()) {
            sockaddr_in local{};
            local.sin_family = AF_INET;
            if (inet_pton(AF_INET, options.source.c_str(), &local.sin_addr) != 1 ||
                bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
                close(fd_);
                fd_ = -1;
            }
        }
    }
    ~Link() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool Open() const { return fd_ >= 0; }

    void Send(const Bytes& packet, const sockaddr_in& to) {
        if (!Lost()) {
            sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        }
    }
    // A datagram within waitMs; false when none came (or the link lost it).
    bool Receive(int waitMs, Bytes& packet, sockaddr_in& from) {
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, waitMs) <= 0) {
            return false;
        }
        packet.resize(1024);
        socklen_t fromLength = sizeof from;
        const ssize_t got =
            recvfrom(fd_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0 || Lost()) {
            return false;
        }
        packet.resize(static_cast<std::size_t>(got));
        return true;
    }
    unsigned LostCount() const { return lostCount_; }

  private:
    bool Lost() {
        const bool lost = lost_(random_);
        lostCount_ += lost ? 1 : 0;
        return lost;
    }

    std::mt19937 random_;
    std::bernoulli_distribution lost_;
    unsigned lostCount_ = 0;
    int fd_;
};

}  // namespace

TftpClientResult TftpGet(const std::string& fileName, const TftpClientOptions& options) {
    TftpClientResult result;
    Link link(options);
    if (!link.Open()) {
        result.errorMessage = "no socket";
        return result;
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(options.port);
    inet_pton(AF_INET, options.server.c_str(), &server.sin_addr);

    Bytes last = Request(fileName, options.mode);
    link.Send(last, server);
    bool transferIdKnown = false;
    std::uint16_t expected = 1;
    bool done = false;
    int waits = 0;
    int quietMs = 0;
    Bytes packet;
    sockaddr_in from{};
    while (true) {
        if (options.cancel != nullptr && options.cancel->load()) {
            result.errorMessage = "cancelled";
            break;
        }
        // The linger is waited in short steps so that a cancel ends it soon.
        const int waitMs = done ? std::min(options.lingerMs - quietMs, options.waitMs) : options.waitMs;
        if (!link.Receive(waitMs, packet, from)) {
            if (done) {
                quietMs += waitMs;
                if (quietMs >= options.lingerMs) {
                    break;
                }
                continue;
            }
            if (++waits > options.attempts) {
                result.errorMessage = "timed out";
                break;
            }
            link.Send(last, server);
            continue;
        }
        if (transferIdKnown &&
            (from.sin_port != server.sin_port || from.sin_addr.s_addr != server.sin_addr.s_addr)) {
            continue;
        }
        if (packet.size() >= 4 && Word(packet.data()) == 5) {
            result.errorCode = Word(packet.data() + 2);
            result.errorMessage.assign(packet.begin() + 4, packet.end());
            result.errorMessage = result.errorMessage.substr(0, result.errorMessage.find('\0'));
            break;
        }
        if (packet.size() < 4 || Word(packet.data()) != 3) {
            continue;
        }
        server = from;
        transferIdKnown = true;
        const std::uint16_t block = Word(packet.data() + 2);
        if (block == expected && !done) {
            if (options.vanishAfter != 0 && block > options.vanishAfter) {
                result.errorMessage = "vanished";
                break;
            }
            result.data.insert(result.data.end(), packet.begin() + 4, packet.end());
            last = Ack(block);
            ++expected;
            waits = 0;
            done = packet.size() - 4 < kBlockSize;
            if (done && options.onDone) {
                options.onDone(result.data);
            }
        }
        // A repeated block is acknowledged again: our acknowledgement may have been lost.
        if (block == static_cast<std::uint16_t>(expected - 1) && !(done && options.dropsLastAck)) {
            link.Send(last, server);
            quietMs = 0;
        }
        if (done && options.lingerMs == 0) {
            break;
        }
    }
    result.ok = done;
    result.lost = link.LostCount();
    return result;
}

}  // namespace sim
