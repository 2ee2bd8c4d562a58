#include "simulator/CardMib.h"

#include "simulator/EngineProfile.h"

namespace sim {

Mib BuildCardMib(const CardDescription& card, const CardLife& life) {
    Mib mib;
    AddMibTwoObjects(mib, card, life);
    AddAppleTalkObjects(mib, card, life);
    AddIpxObjects(mib, card, life);
    AddFrontPanelObjects(mib, card);
    AddPrintServerObjects(mib, card, life);
    AddPrintServerTables(mib);
    return mib;
}

std::function<MibValue()> Growing(const CardDescription& card, const CardLife& life, uint32_t salt,
                                  uint32_t perMinute) {
    uint32_t seed = salt * 2654435761u;
    for (uint8_t byte : card.mac) {
        seed = (seed ^ byte) * 16777619u;
    }
    uint32_t base = seed % 50000;
    uint32_t rate = perMinute * ProfileOf(card.engine).trafficScale;
    const CardClock& clock = life.clock;
    return [&clock, base, rate] {
        return MibValue::Counter(static_cast<uint32_t>(base + rate * clock.Seconds() / 60));
    };
}

}  // namespace sim
