#include "simulator/CardMib.h"

namespace sim {

void AddIpxObjects(Mib& mib, const CardDescription& card, const CardLife& life) {
    const Oid system{1, 3, 6, 1, 4, 1, 23, 2, 5, 1, 1, 1};
    auto column = [&system](uint32_t id) { return system.Child(id).Child(1); };
    bool speaksIpx = (card.protocols & Bit(Protocol::Ipx)) != 0;
    mib.Add(column(1), MibValue::Integer(1));
    mib.Add(column(2), MibValue::Integer(speaksIpx ? 2 : 1));
    mib.Add(column(3), MibValue::Bytes(card.ipxNetwork.data(), card.ipxNetwork.size()));
    mib.Add(column(4), MibValue::Bytes(card.mac.data(), card.mac.size()));
    mib.Add(column(5), MibValue::Text(card.name));
    // Received, header errors, unknown sockets, discards, bad checksums, delivered, no route,
    // requests, malformed, discarded and sent packets.
    static const uint32_t rates[] = {120, 0, 3, 1, 0, 110, 0, 90, 0, 0, 95};
    for (uint32_t id = 6; id <= 16; ++id) {
        mib.AddLive(column(id), Growing(card, life, 2300 + id, speaksIpx ? rates[id - 6] : 0));
    }
}

}  // namespace sim
