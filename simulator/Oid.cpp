#include "simulator/Oid.h"

#include <algorithm>
#include <charconv>

namespace sim {

std::optional<Oid> Oid::Parse(std::string_view text) {
    std::vector<uint32_t> arcs;
    while (!text.empty()) {
        uint32_t arc = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), arc);
        if (error != std::errc() || end == text.data()) {
            return std::nullopt;
        }
        arcs.push_back(arc);
        text.remove_prefix(end - text.data());
        if (!text.empty()) {
            if (text.front() != '.' || text.size() == 1) {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
    }
    if (arcs.empty()) {
        return std::nullopt;
    }
    return Oid(std::move(arcs));
}

std::string Oid::ToText() const {
    std::string text;
    for (uint32_t arc : arcs_) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(arc);
    }
    return text;
}

bool Oid::StartsWith(const Oid& prefix) const {
    return prefix.arcs_.size() <= arcs_.size() &&
           std::equal(prefix.arcs_.begin(), prefix.arcs_.end(), arcs_.begin());
}

Oid Oid::Child(uint32_t arc) const {
    Oid child = *this;
    child.arcs_.push_back(arc);
    return child;
}

Oid Oid::Concat(const Oid& tail) const {
    Oid joined = *this;
    joined.arcs_.insert(joined.arcs_.end(), tail.arcs_.begin(), tail.arcs_.end());
    return joined;
}

Oid Oid::Tail(size_t count) const {
    if (count >= arcs_.size()) {
        return Oid();
    }
    return Oid(std::vector<uint32_t>(arcs_.begin() + count, arcs_.end()));
}

}  // namespace sim
