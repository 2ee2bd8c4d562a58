#include "transport/SpareSocket.h"

#include "platform/services/ProcessId.h"

namespace spare {

namespace {

// Datagrams read away at most before a kept socket is given up instead.
constexpr int kMostWaiting = 16;

// The thread's kept socket. It holds a start of the socket library of its own, so that the library
// stays started while no transport is left; the socket is closed when the thread ends.
class Slot {
  public:
    Slot() = default;
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;
    ~Slot() { Close(); }

    bool Keep(plat::SocketHandle socket) {
        plat::SocketsData data{};
        if (socket_ != plat::kInvalidSocket || vorsock_WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
            return false;
        }
        socket_ = socket;
        owner_ = plat::CurrentProcessId();
        return true;
    }

    plat::SocketHandle Take() {
        if (socket_ == plat::kInvalidSocket) {
            return plat::kInvalidSocket;
        }
        // A forked child shares its parent's socket: it must not read the parent's answers.
        if (owner_ != plat::CurrentProcessId() || !Drained()) {
            Close();
            return plat::kInvalidSocket;
        }
        const plat::SocketHandle socket = socket_;
        socket_ = plat::kInvalidSocket;
        vorsock_WSACleanup();
        return socket;
    }

  private:
    bool Drained() const {
        for (int i = 0; i < kMostWaiting; ++i) {
            char datagram[64];
            plat::SocketAddress from{};
            int fromLength = sizeof from;
            if (vorsock_recvfrom(socket_, datagram, sizeof datagram, 0, &from, &fromLength) !=
                plat::kSocketError) {
                continue;
            }
            const int error = vorsock_WSAGetLastError();
            if (error != plat::kWsaEmsgsize) {  // a longer datagram is read away all the same
                return error == plat::kWsaEwouldblock;
            }
        }
        return false;
    }

    void Close() {
        if (socket_ != plat::kInvalidSocket) {
            vorsock_closesocket(socket_);
            vorsock_WSACleanup();
            socket_ = plat::kInvalidSocket;
        }
    }

    plat::SocketHandle socket_ = plat::kInvalidSocket;
    pid_t owner_ = 0;
};

thread_local Slot slot;

}  // namespace

plat::SocketHandle TakeSocket() {
    return slot.Take();
}

bool KeepSocket(plat::SocketHandle socket) {
    return slot.Keep(socket);
}

}  // namespace spare
