#pragma once

#include <poll.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/sock/SocketLibrary.h"

namespace plat {

// One socket of the library: IPv4 over the host's sockets, IPX datagrams or SPX streams over the
// simulated LAN. Operations answer as the entry points do (kSocketError with the thread's error set).
// Every socket works non-blocking underneath; the blocking mode is a wait in front of the operation,
// so that closing a socket ends the waits on it and time-outs can be honoured.
class LibrarySocket {
  public:
    // What select and blocking waits poll for a condition: an fd and its events, or an answer now.
    struct PollTarget {
        int fd = -1;
        short events = 0;
        bool readyNow = false;
    };

    explicit LibrarySocket(int type) : type_(type) {}
    virtual ~LibrarySocket() = default;
    LibrarySocket(const LibrarySocket&) = delete;
    LibrarySocket& operator=(const LibrarySocket&) = delete;

    int Type() const { return type_; }

    virtual int Bind(const SocketAddress* address, int length) = 0;
    virtual int Connect(const SocketAddress* address, int length) = 0;
    virtual int Listen(int backlog);
    virtual std::shared_ptr<LibrarySocket> Accept(SocketAddress* address, int* length);
    virtual int Send(const char* buffer, int length, int flags) = 0;
    virtual int SendTo(const char* buffer, int length, int flags, const SocketAddress* to, int toLength) = 0;
    // partial null: a datagram larger than the buffer fails with kWsaEmsgsize after filling it;
    // otherwise *partial tells that the datagram was cut.
    virtual int Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                        bool* partial) = 0;
    virtual int GetName(SocketAddress* address, int* length) = 0;
    virtual int GetPeer(SocketAddress* address, int* length) = 0;
    virtual int Shutdown(int how) = 0;

    int SetOption(int level, int option, const char* value, int length);
    int GetOption(int level, int option, char* value, int* length);
    int Ioctl(long command, std::uint32_t* argument);
    // Notices of the socket to a window, as the handle; kept and applied once the socket has a
    // descriptor to watch (an IPX socket gets one when it is bound).
    int AsyncSelect(SocketHandle self, WindowHandle window, std::uint32_t message, long events);
    // Ends the socket's life in the table: stops its notices, wakes its waits, releases its resources.
    void Close();

    virtual PollTarget ReadPoll() = 0;
    virtual PollTarget WritePoll() = 0;
    virtual PollTarget ExceptPoll() { return {}; }
    // Whether the target is ready, given what poll reported for its fd.
    virtual bool ReadReady(short revents) { return revents != 0; }
    virtual bool WriteReady(short revents) { return revents != 0; }
    virtual bool ExceptReady(short revents) { return revents != 0; }

  protected:
    // Options of the socket's own kind; false when the kind does not handle it (the common code then
    // does). The set variant answers 0 or an error number.
    virtual bool SetOwnOption(int level, int option, const char* value, int length, int& error);
    virtual bool GetOwnOption(int level, int option, char* value, int* length, int& error);
    virtual int BytesReadable(std::uint32_t& count) = 0;
    // The descriptor that asynchronous notices watch; -1 while there is none (yet).
    virtual int AsyncFd() const = 0;
    // False when the socket will never have a descriptor for notices.
    virtual bool Notifiable() const { return true; }
    virtual void Release() = 0;

    // Waits, in blocking mode, until the target is ready: 0, or kWsaEwouldblock (non-blocking),
    // kWsaEtimedout (past timeoutMs, 0 meaning none) or kWsaEintr (the socket was closed meanwhile).
    int Wait(const PollTarget& target, std::uint32_t timeoutMs);
    // Re-arms the read notice after a receive.
    void Received();
    // The descriptor of AsyncFd() has just come to be: applies a selection made before.
    void DescriptorReady();

    bool NonBlocking() const { return nonBlocking_; }
    std::uint32_t ReceiveTimeout() const { return receiveTimeoutMs_; }
    std::uint32_t SendTimeout() const { return sendTimeoutMs_; }
    bool OptionSet(int option) const;

  private:
    int type_;
    std::atomic<bool> nonBlocking_{false};
    std::atomic<bool> closed_{false};
    std::atomic<std::uint32_t> receiveTimeoutMs_{0};
    std::atomic<std::uint32_t> sendTimeoutMs_{0};
    struct Selection {
        SocketHandle socket = kInvalidSocket;
        WindowHandle window = 0;
        std::uint32_t message = 0;
        long events = 0;
    };
    int GetStoredOption(int option, char* value, int* length) const;

    mutable std::mutex lock_;  // guards the selection and the stored options
    Selection selection_;
    bool selectionApplied_ = false;
    std::map<int, std::vector<char>> stored_;  // socket-level options kept for getsockopt
};

// Reads an option value given as a 32-bit number (or a shorter one).
bool OptionNumber(const char* value, int length, int& number);
// Writes a 32-bit number as an option value.
int PutOptionNumber(int number, char* value, int* length);

}  // namespace plat
