#pragma once

#include "portmonitor/SocketStreamLink.h"

// The job stream over an SPX connection to an IPX address of 20 hexadecimal digits: 8 of the network
// followed by 12 of the node.
class SpxLink final : public SocketStreamLink {
  public:
    using SocketStreamLink::SocketStreamLink;

  private:
    Endpoint Kind() const override { return {plat::kAfIpx, plat::kSockSeqPacket, plat::kNsProtoSpx}; }
    bool Plausible(const char* address) const override;
    bool Resolve(const char* address, std::uint16_t socket, plat::SocketAddress& peer, int& length) override;
};
