#include "platform/sock/LibrarySocket.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/sock/SocketError.h"

namespace plat {

namespace {

constexpr int kWaitSliceMs = 100;  // how soon a wait notices that its socket was closed

bool StoredOption(int option) {
    switch (option) {
        case kSoReuseAddr:
        case kSoKeepAlive:
        case kSoBroadcast:
        case kSoLinger:
        case kSoSndBuf:
        case kSoRcvBuf:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool OptionNumber(const char* value, int length, int& number) {
    if (value == nullptr || length <= 0) {
        return false;
    }
    if (length >= static_cast<int>(sizeof(std::int32_t))) {
        std::int32_t wide;
        std::memcpy(&wide, value, sizeof wide);
        number = wide;
    } else {
        number = static_cast<unsigned char>(value[0]);
    }
    return true;
}

int PutOptionNumber(int number, char* value, int* length) {
    if (value == nullptr || length == nullptr || *length < static_cast<int>(sizeof(std::int32_t))) {
        return kWsaEfault;
    }
    std::int32_t wide = number;
    std::memcpy(value, &wide, sizeof wide);
    *length = sizeof wide;
    return 0;
}

int LibrarySocket::Listen(int) {
    return Fail(kWsaEopnotsupp);
}

std::shared_ptr<LibrarySocket> LibrarySocket::Accept(SocketAddress*, int*) {
    Fail(kWsaEopnotsupp);
    return nullptr;
}

bool LibrarySocket::SetOwnOption(int, int, const char*, int, int&) {
    return false;
}

bool LibrarySocket::GetOwnOption(int, int, char*, int*, int&) {
    return false;
}

int LibrarySocket::SetOption(int level, int option, const char* value, int length) {
    if (value == nullptr || length <= 0) {
        return Fail(kWsaEfault);
    }
    int error = 0;
    if (SetOwnOption(level, option, value, length, error)) {
        return error == 0 ? 0 : Fail(error);
    }
    int number = 0;
    OptionNumber(value, length, number);
    if (level == kSolSocket && option == kSoRcvTimeo) {
        receiveTimeoutMs_ = static_cast<std::uint32_t>(std::max(number, 0));
        return 0;
    }
    if (level == kSolSocket && option == kSoSndTimeo) {
        sendTimeoutMs_ = static_cast<std::uint32_t>(std::max(number, 0));
        return 0;
    }
    if (level == kSolSocket && option == kSoDontLinger) {
        Linger linger{static_cast<std::uint16_t>(number == 0), 0};
        std::lock_guard guard(lock_);
        stored_[kSoLinger].assign(reinterpret_cast<const char*>(&linger),
                                  reinterpret_cast<const char*>(&linger) + sizeof linger);
        return 0;
    }
    if (level != kSolSocket || !StoredOption(option)) {
        return Fail(kWsaEnoprotoopt);
    }
    std::lock_guard guard(lock_);
    stored_[option].assign(value, value + length);
    return 0;
}

int LibrarySocket::GetOption(int level, int option, char* value, int* length) {
    if (value == nullptr || length == nullptr) {
        return Fail(kWsaEfault);
    }
    int error = 0;
    if (GetOwnOption(level, option, value, length, error)) {
        return error == 0 ? 0 : Fail(error);
    }
    if (level != kSolSocket) {
        return Fail(kWsaEnoprotoopt);
    }
    switch (option) {
        case kSoType:
            error = PutOptionNumber(type_, value, length);
            break;
        case kSoError:
            error = PutOptionNumber(0, value, length);
            break;
        case kSoRcvTimeo:
            error = PutOptionNumber(static_cast<int>(receiveTimeoutMs_.load()), value, length);
            break;
        case kSoSndTimeo:
            error = PutOptionNumber(static_cast<int>(sendTimeoutMs_.load()), value, length);
            break;
        default:
            if (!StoredOption(option)) {
                return Fail(kWsaEnoprotoopt);
            }
            error = GetStoredOption(option, value, length);
    }
    return error == 0 ? 0 : Fail(error);
}

int LibrarySocket::GetStoredOption(int option, char* value, int* length) const {
    std::lock_guard guard(lock_);
    auto it = stored_.find(option);
    std::vector<char> bytes =
        it != stored_.end() ? it->second : std::vector<char>(option == kSoLinger ? sizeof(Linger) : 4, 0);
    if (*length < static_cast<int>(bytes.size())) {
        return kWsaEfault;
    }
    std::memcpy(value, bytes.data(), bytes.size());
    *length = static_cast<int>(bytes.size());
    return 0;
}

bool LibrarySocket::OptionSet(int option) const {
    std::lock_guard guard(lock_);
    auto it = stored_.find(option);
    int number = 0;
    return it != stored_.end() &&
           OptionNumber(it->second.data(), static_cast<int>(it->second.size()), number) && number != 0;
}

int LibrarySocket::Ioctl(long command, std::uint32_t* argument) {
    if (argument == nullptr) {
        return Fail(kWsaEfault);
    }
    if (command == kFionbio) {
        std::lock_guard guard(lock_);
        if (*argument == 0 && selection_.events != 0) {
            return Fail(kWsaEinval);  // a socket with notices stays non-blocking
        }
        nonBlocking_ = *argument != 0;
        return 0;
    }
    if (command == kFionread) {
        int error = BytesReadable(*argument);
        return error == 0 ? 0 : Fail(error);
    }
    return Fail(kWsaEinval);
}

int LibrarySocket::AsyncSelect(SocketHandle self, WindowHandle window, std::uint32_t message, long events) {
    std::lock_guard guard(lock_);
    int fd = AsyncFd();
    if (events == 0) {
        if (selectionApplied_ && fd >= 0) {
            CancelAsyncSelect(fd);
        }
        selection_ = Selection{};
        selectionApplied_ = false;
        return 0;
    }
    if (!IsWindow(window)) {
        return Fail(kWsaEinval);
    }
    if (fd < 0 && !Notifiable()) {
        return Fail(kWsaEopnotsupp);
    }
    nonBlocking_ = true;
    selection_ = Selection{self, window, message, events};
    selectionApplied_ = fd >= 0 && plat::AsyncSelect(fd, self, window, message, events);
    if (fd >= 0 && !selectionApplied_) {
        selection_ = Selection{};
        return Fail(kWsaEinval);
    }
    return 0;
}

void LibrarySocket::DescriptorReady() {
    std::lock_guard guard(lock_);
    if (selection_.events != 0 && !selectionApplied_) {
        selectionApplied_ = plat::AsyncSelect(AsyncFd(), selection_.socket, selection_.window,
                                              selection_.message, selection_.events);
    }
}

void LibrarySocket::Received() {
    std::lock_guard guard(lock_);
    if (selectionApplied_) {
        RearmAsyncRead(AsyncFd());
    }
}

void LibrarySocket::Close() {
    {
        std::lock_guard guard(lock_);
        if (selectionApplied_) {
            CancelAsyncSelect(AsyncFd());
        }
        selection_ = Selection{};
        selectionApplied_ = false;
    }
    closed_ = true;
    Release();
}

int LibrarySocket::Wait(const PollTarget& target, std::uint32_t timeoutMs) {
    if (target.readyNow) {
        return 0;
    }
    if (nonBlocking_) {
        return kWsaEwouldblock;
    }
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (closed_) {
            return kWsaEintr;
        }
        int slice = kWaitSliceMs;
        if (timeoutMs != 0) {
            auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            if (spent.count() >= timeoutMs) {
                return kWsaEtimedout;
            }
            slice = static_cast<int>(std::min<long long>(slice, timeoutMs - spent.count()));
        }
        pollfd entry{target.fd, target.events, 0};
        if (target.fd >= 0 && poll(&entry, 1, slice) > 0) {
            return 0;
        }
        if (target.fd < 0) {
            poll(nullptr, 0, slice);
        }
    }
}

}  // namespace plat
