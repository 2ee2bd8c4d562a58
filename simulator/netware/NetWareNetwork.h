#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netware/NetWareCodes.h"
#include "platform/netware/NetWareMessage.h"
#include "simulator/netware/NetWareState.h"
#include "simulator/netware/NetWareStation.h"

namespace sim {

// The simulated NetWare network: one station of the simulated LAN that answers the NetWare clients'
// calls for every bindery server and directory tree it holds, on a thread of its own. Seeded,
// faulted and inspected through control lines (simulator/README.md). Every public operation may be
// called from any thread.
class NetWareNetwork {
  public:
    NetWareNetwork();
    NetWareNetwork(const NetWareNetwork&) = delete;
    NetWareNetwork& operator=(const NetWareNetwork&) = delete;

    // Joins the simulated LAN (VORLANE_LAN); false with the reason when it cannot.
    bool Start(std::string& error);
    void Stop();

    // One control command; the reply's lines, the last one "ok ..." or "error reason".
    std::string Control(std::string_view line);
    std::string Control(const std::vector<std::string>& words);

    // The reply datagram to a request datagram; empty for one that is not a readable request or gets
    // no reply.
    std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> datagram);
    // The reply to one request: a repeated request (same session and id) gets the same reply again
    // without being carried out twice; a copy of a request older than the last one answered, none
    // (a client numbers its requests upwards).
    std::optional<plat::NetWareMessage> Handle(const plat::NetWareMessage& request);

  private:
    // The client's session, made at its first request.
    NwSession& Session(std::uint32_t number);
    // The call's code: a fault's when one is due, else what carrying it out gives.
    plat::NwCode Carry(NwSession& session, const std::vector<std::string>& fields,
                       std::vector<std::string>& out);

    std::mutex mutex_;
    NetWareState state_;
    std::map<std::uint32_t, plat::NetWareMessage> lastReplies_;  // by session
    std::deque<std::uint32_t> sessionOrder_;                     // sessions, the first heard first
    NetWareStation station_;  // last: its thread answers through the members above
};

// The network of the printserver-sim program, started at its first command ("netware ...").
std::string HostedNetWareControl(const std::vector<std::string>& words);

}  // namespace sim
