#pragma once

#include <cstdint>

namespace plat {

// The SNMP request id counter of the process. Every library that builds SNMP requests takes its ids
// here, so that two libraries in one process never send the same id. Raises the counter by one and
// gives the new value: the first request of a process carries id 1. Safe across threads; each caller
// keeps the id of its own request.
std::int32_t NextRequestId();

// The id that the calling thread took last with NextRequestId, 0 before its first: the id of a
// request that another library built on this thread with the next id.
std::int32_t LastRequestId();

}  // namespace plat
