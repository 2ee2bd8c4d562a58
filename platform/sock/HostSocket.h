#pragma once

#include <netinet/in.h>

#include <atomic>
#include <memory>

#include "platform/sock/LibrarySocket.h"

namespace plat {

// An IPv4 socket (UDP or TCP) over the host's sockets.
class HostSocket final : public LibrarySocket {
  public:
    // type kSockDgram or kSockStream; protocol 0 or the type's own.
    static std::shared_ptr<HostSocket> Create(int type, int protocol, int& error);
    HostSocket(int fd, int type);
    ~HostSocket() override;

    int Bind(const SocketAddress* address, int length) override;
    int Connect(const SocketAddress* address, int length) override;
    int Listen(int backlog) override;
    std::shared_ptr<LibrarySocket> Accept(SocketAddress* address, int* length) override;
    int Send(const char* buffer, int length, int flags) override;
    int SendTo(const char* buffer, int length, int flags, const SocketAddress* to, int toLength) override;
    int Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                bool* partial) override;
    int GetName(SocketAddress* address, int* length) override;
    int GetPeer(SocketAddress* address, int* length) override;
    int Shutdown(int how) override;

    PollTarget ReadPoll() override { return {fd_, POLLIN}; }
    PollTarget WritePoll() override { return {fd_, POLLOUT}; }
    PollTarget ExceptPoll() override;
    bool ReadReady(short revents) override;
    bool WriteReady(short revents) override;
    bool ExceptReady(short revents) override;

  protected:
    bool SetOwnOption(int level, int option, const char* value, int length, int& error) override;
    bool GetOwnOption(int level, int option, char* value, int* length, int& error) override;
    int BytesReadable(std::uint32_t& count) override;
    int AsyncFd() const override { return fd_; }
    void Release() override;

  private:
    int SendAll(const char* buffer, int length, int flags, const sockaddr_in* to);
    // A connect under way: takes its outcome when it has one.
    void SettleConnect();

    int fd_;
    std::atomic<bool> connecting_{false};
    std::atomic<int> connectError_{0};  // the interface's number of a failed connect
};

}  // namespace plat
