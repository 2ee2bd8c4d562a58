#include "simulator/ControlServer.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "simulator/ControlCommands.h"
#include "simulator/JobControlCommands.h"

namespace sim {

namespace {

constexpr size_t LongestLine = 4096;

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

void ControlServer::BlockStopSignals() {
    sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

bool ControlServer::Listen(const std::string& socketPath, std::string& error) {
    if (socketPath.empty()) {
        return true;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        error = "control socket path too long";
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    unlink(socketPath.c_str());
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenFd_, 8) != 0) {
        error = "control socket " + socketPath + ": " + std::strerror(errno);
        return false;
    }
    socketPath_ = socketPath;
    return true;
}

ControlServer::~ControlServer() {
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(socketPath_.c_str());
    }
}

void ControlServer::Reply(const Client& client, const std::string& reply) {
    std::string line = reply + "\n";
    size_t sent = 0;
    while (sent < line.size()) {
        // A socket client that has hung up must not take the program down with SIGPIPE.
        ssize_t written = client.fd == STDIN_FILENO
                              ? write(STDOUT_FILENO, line.data() + sent, line.size() - sent)
                              : send(client.fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (written <= 0) {
            return;
        }
        sent += static_cast<size_t>(written);
    }
}

bool ControlServer::Feed(Client& client, bool& quit) {
    char buffer[1024];
    ssize_t size = read(client.fd, buffer, sizeof buffer);
    if (size <= 0) {
        return false;
    }
    client.pending.append(buffer, static_cast<size_t>(size));
    size_t end;
    while ((end = client.pending.find('\n')) != std::string::npos) {
        std::string line = client.pending.substr(0, end);
        client.pending.erase(0, end + 1);
        std::optional<std::string> jobReply = jobs_ != nullptr ? RunJobCommand(*jobs_, line) : std::nullopt;
        Reply(client, jobReply ? *jobReply : RunControlCommand(simulator_, line, quit));
        if (quit) {
            return false;
        }
    }
    if (client.pending.size() > LongestLine) {
        Reply(client, "error line too long");
        return false;
    }
    return true;
}

void ControlServer::Serve() {
    sigset_t stop = StopSignals();
    int signals = signalfd(-1, &stop, SFD_CLOEXEC);
    std::vector<Client> clients{{STDIN_FILENO, {}}};
    bool quit = false;
    while (!quit) {
        std::vector<pollfd> fds{{signals, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        for (const Client& client : clients) {
            fds.push_back({client.fd, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), -1) < 0) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            break;
        }
        // Clients in the poll set, in order; a client that leaves is closed and dropped.
        std::vector<Client> staying;
        for (size_t i = 0; i < clients.size(); ++i) {
            short events = fds[i + 2].revents;
            bool gone = (events & POLLNVAL) != 0 ||
                        ((events & (POLLIN | POLLHUP | POLLERR)) != 0 && !Feed(clients[i], quit));
            if (!gone) {
                staying.push_back(std::move(clients[i]));
            } else if (clients[i].fd != STDIN_FILENO) {
                close(clients[i].fd);
            }
        }
        clients = std::move(staying);
        if (fds[1].revents & POLLIN) {
            int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                clients.push_back({fd, {}});
            }
        }
    }
    for (const Client& client : clients) {
        if (client.fd != STDIN_FILENO) {
            close(client.fd);
        }
    }
    close(signals);
}

}  // namespace sim
