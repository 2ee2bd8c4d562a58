#pragma once

#include <cstdint>

namespace snmp {

// Raises the library's request id counter by one and gives the new value: the first request of a
// process carries id 1. Safe across threads; each caller keeps the id of its own request.
std::int32_t NextRequestId();

}  // namespace snmp
