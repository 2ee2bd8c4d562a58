#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// An object identifier as its arcs; ordered the way get-next walks a MIB.
class Oid {
  public:
    Oid() = default;
    Oid(std::initializer_list<uint32_t> arcs) : arcs_(arcs) {}
    explicit Oid(std::vector<uint32_t> arcs) : arcs_(std::move(arcs)) {}

    // Dotted decimal text ("1.3.6.1.2.1.1.5.0"); nullopt for anything else.
    static std::optional<Oid> Parse(std::string_view text);

    std::string ToText() const;
    const std::vector<uint32_t>& Arcs() const { return arcs_; }
    size_t Size() const { return arcs_.size(); }
    bool StartsWith(const Oid& prefix) const;
    Oid Child(uint32_t arc) const;
    Oid Concat(const Oid& tail) const;
    // The arcs after the first `count`; empty when there are none.
    Oid Tail(size_t count) const;

    auto operator<=>(const Oid&) const = default;
    bool operator==(const Oid&) const = default;

  private:
    std::vector<uint32_t> arcs_;
};

}  // namespace sim
