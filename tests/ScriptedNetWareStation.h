#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "simulator/netware/NetWareNetwork.h"
#include "simulator/netware/NetWareStation.h"

namespace nwtest {

// A station of the simulated LAN that answers the NetWare client's broadcast in place of the simulated
// NetWare network: it answers every call as the network it holds would (seeded through Control),
// except the calls its script answers otherwise. Tests start no other NetWare network beside it, so
// that the client takes this station.
class ScriptedNetWareStation {
  public:
    // A scripted reply: the call's code and the reply's fields.
    struct Answer {
        plat::NwCode code = plat::kNwSuccess;
        std::vector<std::string> fields;
    };
    // Given the request's fields (the call's name, then its arguments) and how many requests of the
    // call came before it; nothing lets the network answer.
    using Script = std::function<std::optional<Answer>(const std::vector<std::string>& fields, int earlier)>;

    ScriptedNetWareStation();
    ScriptedNetWareStation(const ScriptedNetWareStation&) = delete;
    ScriptedNetWareStation& operator=(const ScriptedNetWareStation&) = delete;

    // Joins the LAN (VORLANE_LAN); false with the reason.
    bool Start(std::string& error);
    // A control line of the network it holds (simulator/README.md).
    std::string Control(const std::string& line) { return network_.Control(line); }
    // From now on the script takes the requests of `call`.
    void Take(const std::string& call, Script script);
    // The requests of `call` that came so far.
    int Requests(const std::string& call);
    // From now on `watch` sees every request (its fields) as it comes, before it is answered; it
    // runs on the station's thread while the client waits for the answer.
    void Watch(std::function<void(const std::vector<std::string>& fields)> watch);

  private:
    std::vector<std::uint8_t> ReplyDatagram(std::span<const std::uint8_t> datagram);
    std::optional<plat::NetWareMessage> Reply(const plat::NetWareMessage& request);

    sim::NetWareNetwork network_;  // never joins the LAN itself: this station answers for it
    std::mutex mutex_;
    std::map<std::string, Script> scripts_;
    std::map<std::string, int> requests_;
    std::function<void(const std::vector<std::string>&)> watch_;
    sim::NetWareStation station_;  // last: its thread answers through the members above
};

}  // namespace nwtest
