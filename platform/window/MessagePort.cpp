#include "platform/window/MessagePort.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/services/DebugOutput.h"
#include "platform/services/FolderStream.h"
#include "platform/window/RuntimeFolder.h"
#include "platform/window/WindowTable.h"

namespace plat {

namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A receiver whose queue is full makes each try wait this long; a stopped process gets a few tries.
constexpr timeval kSendWait{0, 200000};
constexpr int kSendTries = 10;

void RemovePortFile() {
    unlink(MessagePort::PathOf(SelfIdentity()).c_str());
}

// The process a port file name ("p<pid>-<start time>") stands for.
std::optional<ProcessIdentity> PortOwner(std::string_view name) {
    ProcessIdentity owner;
    if (name.size() < 4 || name[0] != 'p') {
        return std::nullopt;
    }
    const char* end = name.data() + name.size();
    auto [dash, pidError] = std::from_chars(name.data() + 1, end, owner.pid);
    if (pidError != std::errc() || dash == end || *dash != '-') {
        return std::nullopt;
    }
    auto [last, startError] = std::from_chars(dash + 1, end, owner.startTime);
    if (startError != std::errc() || last != end) {
        return std::nullopt;
    }
    return owner;
}

// Processes that were killed leave their port files behind; whoever opens a port clears them.
void RemoveDeadPortFiles() {
    const FolderStream folder = OpenFolder(RuntimeFolder());
    if (folder == nullptr) {
        return;
    }
    while (const dirent* item = readdir(folder.get())) {
        const auto owner = PortOwner(item->d_name);
        if (owner && !IsProcessAlive(*owner)) {
            unlink((RuntimeFolder() + "/" + item->d_name).c_str());
        }
    }
}

}  // namespace

std::string MessagePort::PathOf(const ProcessIdentity& process) {
    return RuntimeFolder() + "/p" + std::to_string(process.pid) + "-" + std::to_string(process.startTime);
}

MessagePort& MessagePort::Instance() {
    // Never destroyed: its receiver thread runs until the process ends.
    static MessagePort* port = new MessagePort;
    return *port;
}

bool MessagePort::Open() {
    std::lock_guard lock(mutex_);
    const ProcessIdentity self = SelfIdentity();
    if (fd_ >= 0 && openedBy_ == self.pid) {
        return true;
    }
    if (fd_ >= 0) {  // inherited through fork: the parent's port and receiver are not ours
        close(fd_);
        fd_ = -1;
        pending_.clear();
    }
    RemoveDeadPortFiles();
    path_ = PathOf(self);
    sockaddr_un address;
    if (!MakeAddress(path_, address)) {
        DebugPrintf("window runtime folder path too long for a message port: %s\n", path_.c_str());
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    unlink(path_.c_str());
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        DebugPrintf("message port %s cannot be opened: %s\n", path_.c_str(), std::strerror(errno));
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &kSendWait, sizeof kSendWait);
    fd_ = fd;
    openedBy_ = self.pid;
    static const bool cleanupRegistered = std::atexit(RemovePortFile) == 0;
    (void)cleanupRegistered;
    std::thread([this] { Receive(); }).detach();
    return true;
}

bool MessagePort::Deliver(const std::string& path, const WireMessage& wire, const ProcessIdentity* receiver) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
        return false;
    }
    const std::vector<std::uint8_t> bytes = EncodeWire(wire);
    for (int tries = 0; tries < kSendTries; ++tries) {
        const ssize_t sent = sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                    reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (sent == static_cast<ssize_t>(bytes.size())) {
            return true;
        }
        const bool full = sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        if (!full || (receiver != nullptr && !IsProcessAlive(*receiver))) {
            return false;
        }
    }
    DebugPrintf("message port %s does not take messages\n", path.c_str());
    return false;
}

bool MessagePort::Post(const ProcessIdentity& to, const Message& message) {
    if (!Open()) {
        return false;
    }
    WireMessage wire;
    wire.kind = WireMessage::Kind::kPost;
    wire.message = message;
    return Deliver(PathOf(to), wire, &to);
}

std::optional<std::uint64_t> MessagePort::Send(const ProcessIdentity& to, const Message& message,
                                               const std::optional<std::string>& text,
                                               std::shared_ptr<AnswerSlot> slot) {
    if (!Open()) {
        return std::nullopt;
    }
    WireMessage wire;
    wire.kind = WireMessage::Kind::kSend;
    wire.message = message;
    wire.carriesText = text.has_value();
    wire.text = text.value_or("");
    const std::string path = PathOf(to);
    {
        std::lock_guard lock(mutex_);
        wire.serial = nextSerial_++;
        pending_[wire.serial] = {std::move(slot), path};
    }
    if (!Deliver(path, wire, &to)) {
        Abandon(wire.serial);
        return std::nullopt;
    }
    return wire.serial;
}

void MessagePort::Abandon(std::uint64_t serial) {
    std::lock_guard lock(mutex_);
    pending_.erase(serial);
}

void MessagePort::Receive() {
    const int fd = fd_;
    std::vector<std::uint8_t> buffer(kMaxWireSize + 1);
    for (;;) {
        sockaddr_un from{};
        socklen_t fromLength = sizeof from;
        const ssize_t length =
            recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == ENOMEM || errno == ENOBUFS) {
                // Short of memory for a moment: senders would wait for ever if the receiver gave up.
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            return;  // the port was closed
        }
        auto wire = DecodeWire(buffer.data(), static_cast<std::size_t>(length));
        const std::size_t pathLength =
            fromLength > offsetof(sockaddr_un, sun_path)
                ? strnlen(from.sun_path, fromLength - offsetof(sockaddr_un, sun_path))
                : 0;
        if (wire && pathLength > 0) {
            Route(std::move(*wire), std::string(from.sun_path, pathLength));
        }
    }
}

void MessagePort::Route(WireMessage wire, const std::string& from) {
    if (wire.kind == WireMessage::Kind::kAnswer) {
        std::shared_ptr<AnswerSlot> slot;
        {
            std::lock_guard lock(mutex_);
            const auto found = pending_.find(wire.serial);
            if (found == pending_.end() || found->second.from != from) {
                return;
            }
            slot = found->second.slot;
            pending_.erase(found);
        }
        slot->Complete(wire.message.lParam, wire.text);
        return;
    }
    const auto window = WindowTable::Instance().Find(wire.message.window);
    // The texts of these two travel beside the message; their lParam from afar is never a pointer here.
    const bool textMessage = wire.message.message == kWmSetText || wire.message.message == kWmGetText;
    if (wire.kind == WireMessage::Kind::kPost) {
        if (window && !textMessage) {
            window->owner->Post(wire.message);
        }
        return;
    }
    // Answered once, from whichever thread handles or drops it.
    auto answer = [this, from, serial = wire.serial](LResult result, std::string_view text) {
        WireMessage reply;
        reply.kind = WireMessage::Kind::kAnswer;
        reply.serial = serial;
        reply.message.lParam = result;
        reply.carriesText = !text.empty();
        reply.text = text;
        Deliver(from, reply, nullptr);
    };
    SentMessage sent = textMessage ? SentMessage(wire.message, std::move(wire.text), std::move(answer))
                                   : SentMessage(wire.message, std::move(answer));
    if (window) {
        window->owner->Deliver(std::move(sent));
    }
}

}  // namespace plat
