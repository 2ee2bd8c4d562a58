#pragma once

#include <span>
#include <string_view>

#include "simulator/CardMib.h"
#include "simulator/Faults.h"
#include "simulator/FirmwareUpgrade.h"
#include "simulator/Peer.h"
#include "simulator/TrapRegistry.h"

namespace sim {

// What a community lets a request do.
enum class CommunityRight : uint8_t { None, Read, ReadWrite };

// How a set request ended on a card.
struct CardSetResult {
    SetOutcome outcome;
    bool ignored = false;  // an address set by hardware address meant for another card: no answer
};

// One simulated print server card: its description, its objects, the faults of its answers per
// protocol and the consoles it has seen register. Not copyable: its live objects refer to it.
class Card {
  public:
    explicit Card(CardDescription description);
    Card(const Card&) = delete;
    Card& operator=(const Card&) = delete;

    const CardDescription& Description() const { return description_; }
    bool Speaks(Protocol protocol) const { return (description_.protocols & Bit(protocol)) != 0; }
    // The card's IPv4 address now (its address object), which a set may change.
    Ipv4 Address() const;

    Mib& Objects() { return mib_; }
    const Mib& Objects() const { return mib_; }
    AgentCounters& Counters() { return counters_; }
    uint32_t UpTicks() const { return clock_.Ticks(); }

    // Changes the printer's status; true when it differs from before.
    bool SetPrinterStatus(int32_t status);

    CommunityRight RightOf(std::string_view community) const;
    // Writes the bindings and carries out what the card does on them (address change, menu
    // reset, factory settings, maintenance commands, remembering who registered).
    CardSetResult Set(std::vector<Binding> bindings, const Peer& from);

    FaultState& Faults(Protocol protocol);
    FirmwareUpgrade& Upgrade() { return upgrade_; }
    // The download a set of the start object asked for, once; nothing when none was asked.
    std::optional<UpgradeOrder> TakeUpgradeOrder();
    // The download objects as they stand, as the front panel starts a download with them.
    UpgradeOrder DownloadObjects() const;
    // A fetched file: the card restarts with its version for `restart`.
    void InstallFirmware(std::vector<uint8_t> file, std::chrono::milliseconds restart);

    // Where the registered consoles' status traps go, one entry per valid registration row.
    std::vector<Peer> RegisteredConsoles() const;

  private:
    std::optional<bool> TakeAddressByHardware(std::vector<Binding>& bindings) const;
    void AfterSet(const std::vector<Binding>& bindings, const Peer& from);
    void RestoreFactorySettings();

    CardDescription description_;
    CardClock clock_;
    AgentCounters counters_;
    Mib mib_;
    std::array<FaultState, 3> faults_;
    TrapRegistry registrations_;
    FirmwareUpgrade upgrade_;
    std::optional<UpgradeOrder> order_;
};

}  // namespace sim
