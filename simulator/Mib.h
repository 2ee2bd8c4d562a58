#pragma once

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "simulator/MibTable.h"

namespace sim {

struct Binding {
    Oid oid;
    MibValue value;
};

struct SetOutcome {
    ErrorStatus status = ErrorStatus::NoError;
    size_t index = 0;  // 1-based binding that failed; 0 on success
};

// A card's object tree: scalars (stored, or read live from the card) and tables, ordered for
// get-next. A set is all or nothing, as SNMPv1 asks.
class Mib {
  public:
    void Add(const Oid& oid, MibValue value, Access access = Access::ReadOnly, ValueRule rule = {});
    void AddLive(const Oid& oid, std::function<MibValue()> reader);
    MibTable& AddTable(MibTable table);

    bool Contains(const Oid& oid) const;
    std::optional<MibValue> Get(const Oid& oid) const;
    // A stored scalar's value in place; null for any other object (a live scalar, a table's).
    const MibValue* Stored(const Oid& oid) const;
    std::optional<std::pair<Oid, MibValue>> Next(const Oid& oid) const;
    SetOutcome Set(const std::vector<Binding>& bindings);

    // The card's own write of a stored scalar (status, settings reset), without rules.
    void Put(const Oid& oid, MibValue value);
    MibTable* FindTable(const Oid& entry);
    const MibTable* FindTable(const Oid& entry) const;

  private:
    struct Scalar {
        MibValue value;
        Access access = Access::ReadOnly;
        ValueRule rule;
        std::function<MibValue()> reader;
    };

    ErrorStatus SetOne(const Binding& binding);
    MibValue ValueOf(const Scalar& scalar) const;

    std::map<Oid, Scalar> scalars_;
    std::vector<MibTable> tables_;
};

}  // namespace sim
