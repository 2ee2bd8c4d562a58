#include <algorithm>

#include "simulator/CardMib.h"
#include "simulator/CardOids.h"

namespace sim {

namespace {

// A zone list answer holds at most this many bytes of zones, so that long lists take several.
constexpr size_t ZoneSegmentRoom = 120;

std::vector<std::string> ZonesOf(const CardDescription& card) {
    if (!card.zones.empty()) {
        return card.zones;
    }
    return {"Main Office", "Engineering", "Sales"};
}

MibValue Octets(std::initializer_list<uint8_t> bytes) {
    return MibValue::Bytes(std::data(bytes), bytes.size());
}

// Segment i of the zone list: a 4-byte mark of the list's state, the zone count of the segment,
// a last-segment flag, then each zone as a length byte and its name.
MibValue ZoneSegment(const std::vector<std::string>& zones, size_t first, uint32_t mark) {
    std::string segment = {static_cast<char>(mark >> 24),
                           static_cast<char>(mark >> 16),
                           static_cast<char>(mark >> 8),
                           static_cast<char>(mark),
                           0,
                           0};
    size_t next = first;
    while (next < zones.size() &&
           (next == first || segment.size() + 1 + zones[next].size() <= ZoneSegmentRoom)) {
        segment += static_cast<char>(zones[next].size());
        segment += zones[next];
        ++next;
    }
    segment[4] = static_cast<char>(next - first);
    segment[5] = next == zones.size() ? 1 : 0;
    return MibValue::Text(std::move(segment));
}

void AddZones(Mib& mib, const CardDescription& card) {
    std::vector<std::string> zones = ZonesOf(card);
    uint32_t mark = 0x5A000000u | static_cast<uint32_t>(zones.size());
    for (size_t first = 0; first < zones.size(); ++first) {
        mib.Add(ZoneSegments.Child(static_cast<uint32_t>(first + 1)), ZoneSegment(zones, first, mark));
    }
    auto known = [zones](const Mib&, const MibValue& value) {
        bool found = std::find(zones.begin(), zones.end(), value.bytes) != zones.end();
        return found ? ErrorStatus::NoError : ErrorStatus::BadValue;
    };
    mib.Add(CurrentZone, MibValue::Text(zones.front()), Access::ReadWrite, known);
}

void AddPort(Mib& mib, const CardDescription& card, const CardLife& life) {
    auto column = [](uint32_t id) { return Standard({13, 3, 1, 1, id, 1}); };
    uint8_t node = card.mac[5] == 0 ? 1 : card.mac[5];
    mib.Add(column(1), MibValue::Integer(1));
    mib.Add(column(2), MibValue::Text("EtherTalk Phase 2"));
    mib.Add(column(3), MibValue::Integer(2));
    mib.Add(column(4), Octets({0xFF, 0x00}));
    mib.Add(column(5), Octets({0xFF, 0x0F}));
    mib.Add(column(6), Octets({0xFF, 0x02, node}));
    mib.Add(column(7), MibValue::Integer(card.appleTalk ? 5 : 3));
    mib.Add(column(12), Octets({0xFF, 0x01, 0x81}));
    mib.Add(column(13), Octets({0xFF, 0x01, 0x81}));
    mib.AddLive(column(14), Growing(card, life, 1314, 40));
    mib.AddLive(column(15), Growing(card, life, 1315, 30));
    mib.Add(column(18), Octets({0, 0, 0, 0, 0, 0}));
}

void AddCounters(Mib& mib, const CardDescription& card, const CardLife& life,
                 std::initializer_list<uint32_t> group, std::initializer_list<uint32_t> ids, uint32_t rate) {
    Oid prefix = Standard({13}).Concat(Oid(group));
    for (uint32_t id : ids) {
        mib.AddLive(prefix.Child(id).Child(0), Growing(card, life, prefix.Arcs().back() * 100 + id, rate));
    }
}

}  // namespace

void AddAppleTalkObjects(Mib& mib, const CardDescription& card, const CardLife& life) {
    uint32_t rate = card.appleTalk ? 6 : 0;
    AddCounters(mib, card, life, {2}, {2, 3}, rate);
    AddPort(mib, card, life);
    AddCounters(mib, card, life, {4}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, rate);
    AddCounters(mib, card, life, {8}, {2, 3, 4, 5, 6, 7, 8}, rate);
    mib.Add(Standard({13, 9, 1, 0}), MibValue::Integer(1));
    AddCounters(mib, card, life, {9}, {2, 3, 4}, rate);
    AddCounters(mib, card, life, {10}, {1, 2, 3, 4, 5, 6}, rate);
    AddCounters(mib, card, life, {11}, {1, 3, 5, 7}, rate);
    mib.Add(Standard({13, 11, 8, 1, 3, 1}), MibValue::Text("status: idle"));
    mib.AddLive(Standard({13, 11, 8, 1, 4, 1}), Growing(card, life, 1184, rate));
    AddCounters(mib, card, life, {16}, {1, 2, 3}, rate);
    for (uint32_t id : {1u, 2u, 3u}) {
        mib.AddLive(Standard({13, 17, 1, 1, id, 1}), Growing(card, life, 1711 + id, rate));
    }
    AddCounters(mib, card, life, {17}, {2}, rate);
    AddZones(mib, card);
}

}  // namespace sim
