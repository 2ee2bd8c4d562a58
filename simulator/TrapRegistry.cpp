#include "simulator/TrapRegistry.h"

#include <algorithm>

namespace sim {

namespace {

// Columns of the registration table.
constexpr uint32_t IpColumn = 2;
constexpr uint32_t IpxColumn = 3;
constexpr uint32_t PreferredColumn = 4;
constexpr uint32_t MaskColumn = 5;

std::optional<Protocol> ChosenProtocol(int64_t preferred, int64_t mask, const Peer* registeredBy) {
    if (mask == 0) {
        return registeredBy ? std::optional<Protocol>(registeredBy->protocol) : std::nullopt;
    }
    if ((preferred & mask) != 0 && (preferred == 1 || preferred == 2 || preferred == 4)) {
        return static_cast<Protocol>(preferred);
    }
    for (Protocol protocol : {Protocol::Ip, Protocol::Ipx, Protocol::Dlc}) {
        if ((mask & Bit(protocol)) != 0) {
            return protocol;
        }
    }
    return std::nullopt;
}

}  // namespace

void TrapRegistry::AfterSet(MibTable& table, const std::vector<Binding>& bindings, const Peer& from) {
    const size_t columnAt = table.Entry().Size();
    for (const Binding& binding : bindings) {
        if (!table.Owns(binding.oid) || binding.oid.Size() == columnAt + 1) {
            continue;
        }
        const Oid index = binding.oid.Tail(columnAt + 1);
        registeredBy_[index] = from;
        if (binding.oid.Arcs()[columnAt] == table.StatusColumn() && binding.value.number == RowValid) {
            RetireOthers(table, index);
        }
    }
    std::erase_if(registeredBy_, [&table](const auto& entry) { return !table.Rows().contains(entry.first); });
}

void TrapRegistry::RetireOthers(MibTable& table, const Oid& index) const {
    auto row = table.Rows().find(index);
    if (row == table.Rows().end()) {
        return;
    }
    std::optional<Peer> destination = DestinationOf(index, row->second);
    if (!destination) {
        return;
    }
    std::vector<Oid> retired;
    for (const auto& [other, cells] : table.Rows()) {
        if (other != index && DestinationOf(other, cells) == destination) {
            retired.push_back(other);
        }
    }
    for (const Oid& other : retired) {
        table.Remove(other);
    }
}

std::vector<Peer> TrapRegistry::Destinations(const MibTable& table) const {
    std::vector<Peer> destinations;
    for (const auto& [index, cells] : table.ValidRows()) {
        if (std::optional<Peer> to = DestinationOf(index, cells)) {
            destinations.push_back(*to);
        }
    }
    return destinations;
}

// Addresses the row lacks come from the request that registered it when it came over the same
// protocol; else a broadcast of the segment.
std::optional<Peer> TrapRegistry::DestinationOf(const Oid& index, const MibTable::Row& cells) const {
    auto found = registeredBy_.find(index);
    const Peer* registeredBy = found == registeredBy_.end() ? nullptr : &found->second;
    std::optional<Protocol> protocol =
        ChosenProtocol(cells.at(PreferredColumn).number, cells.at(MaskColumn).number, registeredBy);
    if (!protocol) {
        return std::nullopt;
    }
    bool sameProtocol = registeredBy != nullptr && registeredBy->protocol == *protocol;
    Peer to;
    to.protocol = *protocol;
    switch (*protocol) {
        case Protocol::Ip: {
            const std::string& ip = cells.at(IpColumn).bytes;
            std::copy(ip.begin(), ip.end(), to.address.begin());
            if (std::all_of(ip.begin(), ip.end(), [](char b) { return b == 0; })) {
                if (!sameProtocol) {
                    return std::nullopt;
                }
                std::copy_n(registeredBy->address.begin(), 4, to.address.begin());
            }
            to.port = TrapPort;
            break;
        }
        case Protocol::Ipx: {
            const std::string& ipx = cells.at(IpxColumn).bytes;
            std::fill(to.address.begin() + 4, to.address.end(), 0xFF);
            if (sameProtocol) {
                to.address = registeredBy->address;
            }
            std::copy_n(ipx.begin(), std::min<size_t>(ipx.size(), to.address.size()), to.address.begin());
            to.port = TrapIpxSocket;
            break;
        }
        case Protocol::Dlc:
            std::fill_n(to.address.begin(), 6, 0xFF);
            if (sameProtocol) {
                std::copy_n(registeredBy->address.begin(), 6, to.address.begin());
            }
            to.port = TrapSap;
            break;
    }
    return to;
}

}  // namespace sim
