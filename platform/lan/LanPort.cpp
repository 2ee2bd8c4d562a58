#include "platform/lan/LanPort.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <thread>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanFrame.h"
#include "platform/lan/LanHooks.h"
#include "platform/lan/LanSettings.h"
#include "platform/services/FolderStream.h"

namespace plat {

namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int NewSocket() {
    return socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// True when a process still has the endpoint's file bound.
bool EndpointAlive(const sockaddr_un& address) {
    int probe = NewSocket();
    if (probe < 0) {
        return true;
    }
    bool alive = connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return alive;
}

// Serialises binds of the whole folder across processes, so that taking over a file left behind
// never removes the file of an endpoint bound at the same moment.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder)
        : fd_(open((folder + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) {
            flock(fd_, LOCK_EX);
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }

  private:
    int fd_;
};

int SenderSocket() {
    static int fd = NewSocket();
    return fd;
}

void SendNow(const std::string& path, const std::vector<std::uint8_t>& frame, LanSendMode mode) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
        return;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(GetLanTiming().sendWaitMs);
    for (;;) {
        ssize_t sent = sendto(SenderSocket(), frame.data(), frame.size(), MSG_DONTWAIT,
                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (sent >= 0 || (errno != EAGAIN && errno != EINTR) || mode == LanSendMode::NoWait ||
            std::chrono::steady_clock::now() >= deadline) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SendWithHooks(const std::string& path, std::span<const std::uint8_t> frame, LanSendMode mode) {
    if (LanDropsFrame()) {
        return;
    }
    std::vector<std::uint8_t> copy(frame.begin(), frame.end());
    if (std::uint32_t delay = LanDelay(); delay > 0) {
        LanEngine::Get().After(delay, [path, copy] { SendNow(path, copy, LanSendMode::NoWait); });
        return;
    }
    SendNow(path, copy, mode);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    const plat::FolderStream dir = plat::OpenFolder(folder);
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir.get())) {
        names.emplace_back(entry->d_name);
    }
    return names;
}

}  // namespace

std::string EndpointName(EndpointKind kind, const HardwareAddress& station, unsigned number) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, kind == EndpointKind::Sap ? "-%02X" : "-%04X", number & 0xFFFF);
    return static_cast<char>(kind) + station.Hex() + suffix;
}

LanPort::LanPort(int fd, std::string name, std::string path)
    : fd_(fd), name_(std::move(name)), path_(std::move(path)) {}

std::unique_ptr<LanPort> LanPort::Bind(const std::string& name, int& error) {
    std::string folder = LanFolder();
    if (folder.empty()) {
        error = ENETDOWN;
        return nullptr;
    }
    std::string path = folder + "/" + name;
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
        error = ENAMETOOLONG;
        return nullptr;
    }
    int fd = NewSocket();
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    FolderLock lock(folder);
    int result = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (result != 0 && errno == EADDRINUSE && !EndpointAlive(address)) {
        unlink(path.c_str());
        result = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    if (result != 0) {
        error = errno;
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<LanPort>(new LanPort(fd, name, path));
}

std::unique_ptr<LanPort> LanPort::BindFree(EndpointKind kind, const HardwareAddress& station, unsigned first,
                                           unsigned count, std::uint16_t& number, int& error) {
    unsigned start = std::random_device{}() % count;
    for (unsigned i = 0; i < count; ++i) {
        auto candidate = static_cast<std::uint16_t>(first + (start + i) % count);
        auto port = Bind(EndpointName(kind, station, candidate), error);
        if (port || error != EADDRINUSE) {
            number = candidate;
            return port;
        }
    }
    return nullptr;
}

LanPort::~LanPort() {
    unlink(path_.c_str());
    close(fd_);
}

bool LanPort::Receive(std::vector<std::uint8_t>& frame) {
    for (;;) {
        frame.resize(kLanMaxFrame + 1);
        ssize_t got = recv(fd_, frame.data(), frame.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (got < 0) {
            frame.clear();
            return false;
        }
        if (static_cast<std::size_t>(got) <= kLanMaxFrame) {
            frame.resize(static_cast<std::size_t>(got));
            return true;
        }
    }
}

void LanSend(const std::string& name, std::span<const std::uint8_t> frame, LanSendMode mode) {
    std::string folder = LanFolder();
    if (!folder.empty()) {
        SendWithHooks(folder + "/" + name, frame, mode);
    }
}

void LanSendToAll(EndpointKind kind, unsigned number, std::span<const std::uint8_t> frame, LanSendMode mode) {
    std::string folder = LanFolder();
    if (folder.empty()) {
        return;
    }
    std::string suffix = EndpointName(kind, HardwareAddress{}, number).substr(13);
    for (const std::string& name : FolderEntries(folder)) {
        if (name.size() == 13 + suffix.size() && name[0] == static_cast<char>(kind) &&
            name.ends_with(suffix)) {
            SendWithHooks(folder + "/" + name, frame, mode);
        }
    }
}

bool LanEndpointExists(const std::string& name) {
    std::string folder = LanFolder();
    struct stat info {};
    return !folder.empty() && stat((folder + "/" + name).c_str(), &info) == 0;
}

bool LanStationPresent(const HardwareAddress& station) {
    std::string hex = station.Hex();
    for (const std::string& name : FolderEntries(LanFolder())) {
        if (name.size() > 13 && name.compare(1, 12, hex) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace plat
