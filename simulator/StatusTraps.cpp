#include "simulator/StatusTraps.h"

#include <algorithm>

#include "simulator/CardOids.h"
#include "simulator/WireBindings.h"
#include "snmp/traps/TrapCodec.h"

namespace sim {

namespace {

constexpr uint8_t EnterpriseSpecific = 6;
constexpr char RegistrationCommunity[] = "public";

struct Destination {
    Peer to;
    std::string community;
};

std::vector<Destination> Destinations(const Card& card) {
    std::vector<Destination> destinations;
    auto add = [&destinations](Peer to, std::string community) {
        bool known = std::any_of(destinations.begin(), destinations.end(),
                                 [&](const Destination& d) { return d.to == to; });
        if (!known) {
            destinations.push_back({to, std::move(community)});
        }
    };
    for (const Peer& console : card.RegisteredConsoles()) {
        add(console, RegistrationCommunity);
    }
    for (const auto& [index, cells] : card.Objects().FindTable(TrapPairs)->ValidRows()) {
        const std::string& ip = cells.at(2).bytes;
        if (std::any_of(ip.begin(), ip.end(), [](char b) { return b != 0; })) {
            Peer to;
            std::copy(ip.begin(), ip.end(), to.address.begin());
            to.port = TrapPort;
            add(to, cells.at(3).bytes);
        }
    }
    return destinations;
}

std::optional<std::vector<uint8_t>> EncodeStatusTrap(const Card& card, const std::string& community,
                                                     int32_t status) {
    WireBindings bindings;
    bindings.Add(PrinterStatus, MibValue::Integer(status));
    bindings.Add(SysName, *card.Objects().Get(SysName));
    std::string enterprise = PrivateArc.ToText();
    Ipv4 agent = card.Address();
    TrapParam trap{};
    trap.Community = const_cast<char*>(community.data());
    trap.CommunityLength = static_cast<uint16_t>(community.size());
    trap.Enterprise = enterprise.data();
    trap.EnterpriseLength = static_cast<uint16_t>(enterprise.size());
    trap.AgentAddress = agent.data();
    trap.AgentAddressLength = static_cast<uint8_t>(agent.size());
    trap.GenericTrap = EnterpriseSpecific;
    trap.SpecificTrap =
        static_cast<uint16_t>(status >= 0 && status <= 4 ? TrapStatusNormal : TrapStatusAlert);
    trap.TimeStamp = card.UpTicks();
    trap.BindingCount = bindings.Count();
    trap.Bindings = bindings.Data();
    std::vector<uint8_t> bytes(512);
    size_t written = 0;
    if (snmp::EncodeTrap(trap, bytes.data(), bytes.size(), written) != snmp::kEncodeOk) {
        return std::nullopt;
    }
    bytes.resize(written);
    return bytes;
}

}  // namespace

std::vector<Outgoing> StatusTraps(Card& card) {
    auto status = static_cast<int32_t>(card.Objects().Get(PrinterStatus)->number);
    std::vector<Outgoing> traps;
    for (const Destination& destination : Destinations(card)) {
        if (!card.Speaks(destination.to.protocol) || card.Faults(destination.to.protocol).Switches().silent) {
            continue;
        }
        if (std::optional<std::vector<uint8_t>> bytes =
                EncodeStatusTrap(card, destination.community, status)) {
            traps.push_back(Outgoing{destination.to, std::move(*bytes), 0});
            ++card.Counters().outTraps;
            ++card.Counters().outPackets;
        }
    }
    return traps;
}

}  // namespace sim
