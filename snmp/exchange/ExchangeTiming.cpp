#include "snmp/exchange/ExchangeTiming.h"

#include "platform/store/ConfigStore.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {

namespace {

constexpr const char* kSnmpKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\Snmp";
constexpr std::uint32_t kSetTimeOutSeconds = 10;

void ReadNumber(plat::StoreKey key, const char* name, std::uint32_t& value) {
    std::uint32_t type = 0;
    std::uint32_t stored = 0;
    std::uint32_t size = sizeof stored;
    if (plat::StoreQueryValue(key, name, &type, &stored, &size) == plat::kStoreOk &&
        type == plat::kStoreValueNumber && size == sizeof stored) {
        value = stored;
    }
}

}  // namespace

ExchangeTiming ReadExchangeTiming(std::int32_t operation) {
    ExchangeTiming timing;
    plat::StoreKey key = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, kSnmpKey, plat::kStoreRead, &key) == plat::kStoreOk) {
        ReadNumber(key, "UdpTimeOutInterval", timing.timeOutSeconds);
        ReadNumber(key, "UdpTotalRetries", timing.retries);
        plat::StoreCloseKey(key);
    }
    if (operation == kOperationSet) {
        timing.timeOutSeconds = kSetTimeOutSeconds;
    }
    return timing;
}

}  // namespace snmp
