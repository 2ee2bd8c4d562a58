#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/lan/IpxEndpoint.h"
#include "platform/netware/NetWareCodes.h"

namespace plat {

// The client's end of the simulated NetWare network: one IPX socket of this station, a session number
// of its own, and calls that wait for their reply, sent again when none comes. The first call looks
// for the network by broadcast; later calls go to the station that answered. Not thread-safe: the
// client serialises its calls.
class NetWareLink {
  public:
    // kNwClientAbsent without a LAN, kNwServerUnreachable when no reply comes, else the call's code,
    // with the reply's fields in `out`.
    NwCode Call(const std::string& call, const std::vector<std::string>& arguments,
                std::vector<std::string>* out = nullptr);

  private:
    bool Open();
    std::optional<NwCode> AwaitReply(std::uint32_t id, std::vector<std::string>* out);

    std::unique_ptr<IpxEndpoint> endpoint_;
    IpxAddress network_;
    std::uint32_t session_ = 0;
    std::uint32_t nextId_ = 1;
};

}  // namespace plat
