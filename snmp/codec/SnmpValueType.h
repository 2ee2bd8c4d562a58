#pragma once

#include <cstdint>

// The value types of a variable binding, as records and value texts carry them.
enum SnmpValueType : std::int32_t {
    kSnmpTypeUnknown = 0,  // an identifier the system does not know; kept as raw bytes
    kSnmpInteger = 1,
    kSnmpOctetString = 2,
    kSnmpIpAddress = 3,
    kSnmpOpaque = 4,
    kSnmpCounter = 5,
    kSnmpGauge = 6,
    kSnmpTimeTicks = 7,
    kSnmpObjectId = 8,
    kSnmpNull = 9,
};
