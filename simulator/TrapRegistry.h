#pragma once

#include <map>
#include <optional>
#include <vector>

#include "simulator/Mib.h"
#include "simulator/Peer.h"

namespace sim {

// Consoles listen for traps here.
inline constexpr uint16_t TrapPort = 162;
inline constexpr uint16_t TrapIpxSocket = 0x9010;
inline constexpr uint8_t TrapSap = 12;

// The consoles registered for status traps: the rows of the card's registration table, and the
// peer whose request last wrote each row, which supplies the addresses a row leaves out.
class TrapRegistry {
  public:
    // After a set that the card carried out on `table`. A row made valid takes the place of every
    // other row whose traps go to the same destination: a console registers anew (with a new row
    // index) after each detection, and keeps one row rather than filling the table.
    void AfterSet(MibTable& table, const std::vector<Binding>& bindings, const Peer& from);
    // Where the traps of each valid row go: over the row's preferred protocol when its mask has
    // it, else the first of IP, IPX and DLC in the mask.
    std::vector<Peer> Destinations(const MibTable& table) const;
    void Clear() { registeredBy_.clear(); }

  private:
    std::optional<Peer> DestinationOf(const Oid& index, const MibTable::Row& cells) const;
    void RetireOthers(MibTable& table, const Oid& index) const;

    std::map<Oid, Peer> registeredBy_;
};

}  // namespace sim
