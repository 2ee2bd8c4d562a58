#include "platform/services/RequestId.h"

#include <atomic>

namespace plat {

namespace {
std::atomic<std::uint32_t> counter{0};
thread_local std::int32_t lastTaken = 0;
}  // namespace

std::int32_t NextRequestId() {
    lastTaken = static_cast<std::int32_t>(counter.fetch_add(1, std::memory_order_relaxed) + 1);
    return lastTaken;
}

std::int32_t LastRequestId() {
    return lastTaken;
}

}  // namespace plat
