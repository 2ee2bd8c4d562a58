#include "simulator/CardMib.h"
#include "simulator/CardOids.h"
#include "simulator/EngineProfile.h"

namespace sim {

namespace {

void AddSystem(Mib& mib, const CardDescription& card, const CardLife& life) {
    EngineProfile engine = ProfileOf(card.engine);
    std::string model = card.model.empty() ? engine.model : card.model;
    std::string version = card.version.empty() ? engine.version : card.version;
    mib.Add(Standard({1, 1, 0}),
            MibValue::Text("Vorlane print server card, printer " + model + ", " + version));
    mib.Add(Standard({1, 2, 0}), MibValue::ObjectId(PrivateArc));
    const CardClock& clock = life.clock;
    mib.AddLive(Standard({1, 3, 0}), [&clock] { return MibValue::Ticks(clock.Ticks()); });
    mib.Add(Standard({1, 4, 0}), MibValue::Text("Print room"), Access::ReadWrite, TextUpTo(64));
    mib.Add(SysName, MibValue::Text(card.name), Access::ReadWrite, TextUpTo(64));
    mib.Add(SysLocation, MibValue::Text(card.location), Access::ReadWrite, TextUpTo(64));
    mib.Add(Standard({1, 7, 0}), MibValue::Integer(72));
}

void AddInterface(Mib& mib, const CardDescription& card, const CardLife& life, uint32_t index) {
    bool ethernet = index == 2;
    auto column = [index](uint32_t id) { return Standard({2, 2, 1, id, index}); };
    mib.Add(column(1), MibValue::Integer(static_cast<int32_t>(index)));
    mib.Add(column(2), MibValue::Text(ethernet ? "Ethernet 10BASE-T" : "Loopback"));
    mib.Add(column(3), MibValue::Integer(ethernet ? 6 : 24));
    mib.Add(column(4), MibValue::Integer(ethernet ? 1500 : 1536));
    mib.Add(column(5), MibValue::Gauge(ethernet ? 10000000 : 0));
    mib.Add(column(6), ethernet ? MibValue::Bytes(card.mac.data(), card.mac.size()) : MibValue::Text(""));
    mib.Add(column(7), MibValue::Integer(1));
    mib.Add(column(8), MibValue::Integer(1));
    mib.Add(column(9), MibValue::Ticks(0));
    // In and out octets, unicast and broadcast packets, discards, errors, unknown protocols.
    static const uint32_t rates[] = {90000, 400, 250, 0, 1, 3, 60000, 350, 20, 0, 0};
    for (uint32_t id = 10; id <= 20; ++id) {
        uint32_t rate = ethernet ? rates[id - 10] : 0;
        mib.AddLive(column(id), Growing(card, life, index * 100 + id, rate));
    }
    mib.Add(column(21), MibValue::Gauge(0));
    mib.Add(column(22), MibValue::ObjectId(Oid{0, 0}));
}

void AddCounters(Mib& mib, const CardDescription& card, const CardLife& life, const Oid& group,
                 std::initializer_list<std::pair<uint32_t, uint32_t>> idsAndRates) {
    for (auto [id, rate] : idsAndRates) {
        mib.AddLive(group.Child(id).Child(0), Growing(card, life, group.Arcs().back() * 1000 + id, rate));
    }
}

void AddIpIcmpTcp(Mib& mib, const CardDescription& card, const CardLife& life) {
    Oid ip = Standard({4});
    mib.Add(ip.Child(1).Child(0), MibValue::Integer(2));
    mib.Add(ip.Child(2).Child(0), MibValue::Integer(64));
    AddCounters(mib, card, life, ip,
                {{3, 500}, {4, 0}, {5, 2}, {6, 0}, {7, 1}, {8, 0}, {9, 480}, {10, 460}, {11, 0}, {12, 0}});
    AddCounters(mib, card, life, Standard({5}),
                {{1, 6},  {2, 0},  {3, 1},  {4, 0},  {5, 0},  {6, 0},  {7, 0},  {8, 5},  {9, 0},
                 {10, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 6}, {15, 0}, {16, 1}, {17, 0}, {18, 0},
                 {19, 0}, {20, 0}, {21, 0}, {22, 5}, {23, 0}, {24, 0}, {25, 0}, {26, 0}});
    Oid tcp = Standard({6});
    mib.Add(tcp.Child(1).Child(0), MibValue::Integer(4));
    mib.Add(tcp.Child(2).Child(0), MibValue::Integer(200));
    mib.Add(tcp.Child(3).Child(0), MibValue::Integer(60000));
    mib.Add(tcp.Child(4).Child(0), MibValue::Integer(8));
    AddCounters(mib, card, life, tcp, {{5, 0}, {6, 2}, {7, 0}, {8, 0}, {10, 300}, {11, 280}, {12, 1}});
    mib.Add(tcp.Child(9).Child(0), MibValue::Gauge(0));
}

void AddUdp(Mib& mib, const CardLife& life) {
    const AgentCounters& counters = life.counters;
    mib.AddLive(Standard({7, 1, 0}), [&counters] { return MibValue::Counter(counters.udpIn); });
    mib.Add(Standard({7, 2, 0}), MibValue::Counter(0));
    mib.Add(Standard({7, 3, 0}), MibValue::Counter(0));
    mib.AddLive(Standard({7, 4, 0}), [&counters] { return MibValue::Counter(counters.udpOut); });
}

void AddSnmp(Mib& mib, const CardLife& life) {
    const AgentCounters& c = life.counters;
    const std::pair<uint32_t, const uint32_t*> counters[] = {
        {1, &c.inPackets},           {2, &c.outPackets},         {3, &c.inBadVersions},
        {4, &c.inBadCommunityNames}, {5, &c.inBadCommunityUses}, {6, &c.inParseErrors},
        {13, &c.inTotalRequestVars}, {14, &c.inTotalSetVars},    {15, &c.inGetRequests},
        {16, &c.inGetNexts},         {17, &c.inSetRequests},     {20, &c.outTooBigs},
        {21, &c.outNoSuchNames},     {22, &c.outBadValues},      {24, &c.outGenErrors},
        {28, &c.outGetResponses},    {29, &c.outTraps},
    };
    for (const auto& [id, counter] : counters) {
        mib.AddLive(Standard({11, id, 0}), [value = counter] { return MibValue::Counter(*value); });
    }
    for (uint32_t id : {8u, 9u, 10u, 11u, 12u, 18u, 19u, 23u, 25u, 26u, 27u}) {
        mib.Add(Standard({11, id, 0}), MibValue::Counter(0));
    }
    mib.Add(Standard({11, 30, 0}), MibValue::Integer(2), Access::ReadWrite, OneOf({1, 2}));
}

}  // namespace

void AddMibTwoObjects(Mib& mib, const CardDescription& card, const CardLife& life) {
    AddSystem(mib, card, life);
    mib.Add(Standard({2, 1, 0}), MibValue::Integer(2));
    AddInterface(mib, card, life, 1);
    AddInterface(mib, card, life, 2);
    mib.AddLive(Standard({10, 7, 2, 1, 2, 0}), Growing(card, life, 7, 0));
    AddIpIcmpTcp(mib, card, life);
    AddUdp(mib, life);
    AddSnmp(mib, life);
}

}  // namespace sim
