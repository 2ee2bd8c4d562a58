#include "snmp/exchange/ExchangeTiming.h"

#include "platform/store/StoreKeptRead.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {

namespace {

constexpr std::uint32_t kSetTimeOutSeconds = 10;

ExchangeTiming ReadStoredTiming() {
    ExchangeTiming timing;
    if (const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kSnmpKey)) {
        timing.timeOutSeconds = key->ReadNumber("UdpTimeOutInterval").value_or(timing.timeOutSeconds);
        timing.retries = key->ReadNumber("UdpTotalRetries").value_or(timing.retries);
    }
    return timing;
}

}  // namespace

ExchangeTiming ReadExchangeTiming(std::int32_t operation) {
    // Wanted for every exchange: kept while the store is unchanged, the settings cost one look at its
    // change count instead of a key opened and two values read.
    thread_local plat::StoreKeptRead<ExchangeTiming> stored;
    ExchangeTiming timing = stored.Get(ReadStoredTiming);
    if (operation == kOperationSet) {
        timing.timeOutSeconds = kSetTimeOutSeconds;
    }
    return timing;
}

}  // namespace snmp
