#include "snmp/exchange/ExchangeTiming.h"

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {

namespace {

constexpr std::uint32_t kSetTimeOutSeconds = 10;

}  // namespace

ExchangeTiming ReadExchangeTiming(std::int32_t operation) {
    ExchangeTiming timing;
    if (const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kSnmpKey)) {
        timing.timeOutSeconds = key->ReadNumber("UdpTimeOutInterval").value_or(timing.timeOutSeconds);
        timing.retries = key->ReadNumber("UdpTotalRetries").value_or(timing.retries);
    }
    if (operation == kOperationSet) {
        timing.timeOutSeconds = kSetTimeOutSeconds;
    }
    return timing;
}

}  // namespace snmp
