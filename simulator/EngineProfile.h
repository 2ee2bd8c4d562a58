#pragma once

#include <cstdint>
#include <string>

#include "simulator/EngineType.h"

namespace sim {

// What the engine behind a card tells about itself, and how busy its counters look.
struct EngineProfile {
    std::string model;
    std::string version;  // "V<n.nn> MM/DD/YYYY": the console reads the date after the blank
    int32_t typeWord;     // high byte the family, low byte option bits
    uint32_t trafficScale;
};

EngineProfile ProfileOf(EngineType engine);

}  // namespace sim
