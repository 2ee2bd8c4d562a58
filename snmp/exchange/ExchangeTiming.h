#pragma once

#include <cstdint>

namespace snmp {

// How long one exchange waits for an answer and how often it goes round again after an answer
// that does not decode or belongs to another request. Read anew for every exchange, so that a
// change in the store takes effect at once.
struct ExchangeTiming {
    std::uint32_t timeOutSeconds = 15;  // "UdpTimeOutInterval"
    std::uint32_t retries = 5;          // "UdpTotalRetries": rounds after the first
};

// The store's settings under "...\3.0\Snmp", a missing or unreadable one taking its default.
// A set always waits 10 seconds: a print server may be slow to apply what it is told.
ExchangeTiming ReadExchangeTiming(std::int32_t operation);

}  // namespace snmp
