#include <cstdlib>

#include "netware/cardtable/CardExchange.h"
#include "netware/cardtable/CardObjects.h"
#include "platform/services/ExportGuard.h"

namespace {

NwResult GetDelay(const char* adapterName, const char* oid, std::int32_t* value) {
    std::string oids = oid;
    std::vector<CardValue> values;
    const NwResult result = CardRead(adapterName, kCardGet, oids, 1, values);
    if (result != kNwOk) {
        return result;
    }
    if (values[0].type != kCardInteger) {
        return kCardBadAnswer;
    }
    if (value != nullptr) {
        *value = static_cast<std::int32_t>(std::strtol(values[0].text.c_str(), nullptr, 10));
    }
    return kNwOk;
}

NwResult SetDelay(const char* adapterName, const char* oid, std::int32_t value) {
    return CardWrite(adapterName, oid, IntegerText(value));
}

}  // namespace

NW_CARD_EXPORT NwResult NwSNMPGetJobCheckDelay(const char* adapterName, std::int32_t* value) {
    return plat::GuardExport(kCardBadAnswer, kNwNoMemory,
                             [&] { return GetDelay(adapterName, kJobCheckDelayOid, value); });
}

NW_CARD_EXPORT NwResult NwSNMPSetJobCheckDelay(const char* adapterName, std::int32_t value) {
    return plat::GuardExport(kCardBadAnswer, kNwNoMemory,
                             [&] { return SetDelay(adapterName, kJobCheckDelayOid, value); });
}

NW_CARD_EXPORT NwResult NwSNMPGetCfgCheckDelay(const char* adapterName, std::int32_t* value) {
    return plat::GuardExport(kCardBadAnswer, kNwNoMemory,
                             [&] { return GetDelay(adapterName, kCfgCheckDelayOid, value); });
}

NW_CARD_EXPORT NwResult NwSNMPSetCfgCheckDelay(const char* adapterName, std::int32_t value) {
    return plat::GuardExport(kCardBadAnswer, kNwNoMemory,
                             [&] { return SetDelay(adapterName, kCfgCheckDelayOid, value); });
}
