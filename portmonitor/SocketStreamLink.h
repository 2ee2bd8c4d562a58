#pragma once

#include "portmonitor/JobStreamLink.h"
#include "transport/WinsockTable.h"

// A job stream link over a stream socket of the socket library: what TCP and SPX share. The socket
// is non-blocking once connected, so that every wait is the link's own, bounded one.
class SocketStreamLink : public JobStreamLink, protected WinsockTable {
  public:
    explicit SocketStreamLink(LinkTiming timing) : timing_(timing) {}
    ~SocketStreamLink() override;

    LinkResult Connect(const char* address, std::uint16_t port) override;
    LinkResult Send(const std::uint8_t* bytes, std::size_t count, std::size_t& taken) override;
    LinkResult Receive(std::uint8_t* buffer, std::size_t& length) override;
    LinkResult Close() override;
    LinkResult Abort() override;

  protected:
    struct Endpoint {
        int family;
        int type;
        int protocol;
    };
    virtual Endpoint Kind() const = 0;
    // False when the text cannot be an address of this kind: checked before the socket library starts.
    virtual bool Plausible(const char* address) const = 0;
    // The peer's socket address; false when the text names none.
    virtual bool Resolve(const char* address, std::uint16_t port, plat::SocketAddress& peer, int& length) = 0;

  private:
    // 1 ready, 0 none within the time-out, -1 an error of the wait.
    int WaitFor(bool write);
    LinkResult Lost();
    // Closes the socket (as it stands) and stops the socket library.
    LinkResult Release();

    LinkTiming timing_;
    plat::SocketHandle socket_ = plat::kInvalidSocket;
    bool started_ = false;
    LinkResult state_ = kLinkNotConnected;
};
