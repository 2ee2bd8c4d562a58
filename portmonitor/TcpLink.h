#pragma once

#include "portmonitor/SocketStreamLink.h"

// The job stream over a TCP connection to a dotted IPv4 address or a host name.
class TcpLink final : public SocketStreamLink {
  public:
    using SocketStreamLink::SocketStreamLink;
    bool CloseShowsAllRead() const override { return true; }

  private:
    Endpoint Kind() const override { return {plat::kAfInet, plat::kSockStream, plat::kIpProtoTcp}; }
    bool Plausible(const char* address) const override { return *address != '\0'; }
    bool Resolve(const char* address, std::uint16_t port, plat::SocketAddress& peer, int& length) override;
};
