#include "snmp/request/RequestId.h"

#include <atomic>

namespace snmp {

namespace {
std::atomic<std::uint32_t> counter{0};
}

std::int32_t NextRequestId() {
    return static_cast<std::int32_t>(counter.fetch_add(1, std::memory_order_relaxed) + 1);
}

}  // namespace snmp
