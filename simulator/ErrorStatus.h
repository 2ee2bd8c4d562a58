#pragma once

#include <cstdint>

namespace sim {

// SNMPv1 error status of an answer.
enum class ErrorStatus : uint8_t {
    NoError = 0,
    TooBig = 1,
    NoSuchName = 2,
    BadValue = 3,
    ReadOnly = 4,
    GenErr = 5,
};

}  // namespace sim
