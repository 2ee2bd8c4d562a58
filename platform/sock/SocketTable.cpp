#include "platform/sock/SocketTable.h"

#include "platform/services/Undestroyed.h"

namespace plat {

namespace {

constexpr SocketHandle kLastHandle = 0x7FFFFFFF;

}  // namespace

SocketTable& SocketTable::Get() {
    // Sockets may be closed by static objects and unload steps of other libraries.
    return Undestroyed<SocketTable>();
}

SocketHandle SocketTable::Add(std::shared_ptr<LibrarySocket> socket) {
    std::lock_guard guard(lock_);
    if (sockets_.size() >= kMaxSockets) {
        return kInvalidSocket;
    }
    while (sockets_.contains(next_)) {
        next_ = next_ == kLastHandle ? 1 : next_ + 1;
    }
    SocketHandle handle = next_;
    next_ = next_ == kLastHandle ? 1 : next_ + 1;
    sockets_[handle] = std::move(socket);
    return handle;
}

std::shared_ptr<LibrarySocket> SocketTable::Find(SocketHandle handle) {
    std::lock_guard guard(lock_);
    auto it = sockets_.find(handle);
    return it == sockets_.end() ? nullptr : it->second;
}

std::shared_ptr<LibrarySocket> SocketTable::Remove(SocketHandle handle) {
    std::lock_guard guard(lock_);
    auto it = sockets_.find(handle);
    if (it == sockets_.end()) {
        return nullptr;
    }
    auto socket = std::move(it->second);
    sockets_.erase(it);
    return socket;
}

void SocketTable::Start() {
    std::lock_guard guard(lock_);
    ++starts_;
}

bool SocketTable::Stop() {
    std::lock_guard guard(lock_);
    if (starts_ == 0) {
        return false;
    }
    --starts_;
    return true;
}

bool SocketTable::Started() {
    std::lock_guard guard(lock_);
    return starts_ > 0;
}

}  // namespace plat
