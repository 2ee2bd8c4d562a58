#pragma once

#include <memory>
#include <mutex>

#include "platform/lan/SpxConnection.h"
#include "platform/lan/SpxListener.h"
#include "platform/sock/LibrarySocket.h"

namespace plat {

// An SPX stream socket over the simulated LAN: bound and listening it takes connections; connected it
// carries one stream. Asynchronous notices work for a connection, not for a listening socket.
class SpxSocket final : public LibrarySocket {
  public:
    explicit SpxSocket(int type) : LibrarySocket(type) {}
    // A connection taken from a listening socket.
    SpxSocket(int type, std::shared_ptr<SpxConnection> connection);
    ~SpxSocket() override;

    int Bind(const SocketAddress* address, int length) override;
    int Connect(const SocketAddress* address, int length) override;
    int Listen(int backlog) override;
    std::shared_ptr<LibrarySocket> Accept(SocketAddress* address, int* length) override;
    int Send(const char* buffer, int length, int flags) override;
    int SendTo(const char* buffer, int length, int flags, const SocketAddress*, int) override {
        return Send(buffer, length, flags);
    }
    int Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                bool* partial) override;
    int GetName(SocketAddress* address, int* length) override;
    int GetPeer(SocketAddress* address, int* length) override;
    int Shutdown(int how) override;

    PollTarget ReadPoll() override;
    PollTarget WritePoll() override;
    PollTarget ExceptPoll() override;
    bool ReadReady(short revents) override;
    bool WriteReady(short revents) override;
    bool ExceptReady(short revents) override;

  protected:
    bool GetOwnOption(int level, int option, char* value, int* length, int& error) override;
    int BytesReadable(std::uint32_t& count) override;
    int AsyncFd() const override;
    bool Notifiable() const override;
    void Release() override;

  private:
    std::shared_ptr<SpxConnection> Connection() const;
    // The interface's error for a connection that is not (or no longer) connected; 0 when it is.
    int ConnectionError() const;

    mutable std::mutex partsLock_;
    std::shared_ptr<SpxConnection> connection_;
    std::unique_ptr<SpxListener> listener_;
    bool listening_ = false;
};

}  // namespace plat
