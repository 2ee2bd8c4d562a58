#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "simulator/Mib.h"
#include "snmp/codec/VarBind.h"

namespace sim {

// A binding as a request carried it: the object (nullopt when its text is no object identifier)
// and the value (nullopt when its kind is none the card knows).
struct ReceivedBinding {
    std::optional<Oid> oid;
    std::optional<MibValue> value;
};

ReceivedBinding FromWire(const VarBind& binding);

// Bindings of an outgoing message in the codec's form, with the storage they point into.
class WireBindings {
  public:
    WireBindings() = default;
    WireBindings(const WireBindings&) = delete;
    WireBindings& operator=(const WireBindings&) = delete;

    void Add(const Oid& oid, const MibValue& value);
    // A binding sent back exactly as it came.
    void Echo(const VarBind& binding);

    VarBind* Data() { return bindings_.data(); }
    uint16_t Count() const { return static_cast<uint16_t>(bindings_.size()); }

  private:
    const std::string& Keep(std::string bytes);

    std::vector<VarBind> bindings_;
    std::deque<std::string> storage_;  // stable addresses as it grows
};

}  // namespace sim
