#pragma once

#include <cstdint>

namespace sim {

// The printer engine behind a card, as its type word's high byte tells the console.
enum class EngineType : uint8_t {
    Office = 1,     // front panel with altitude and OPC drum cleaning
    Compact = 2,    // front panel with fuser cleaning, no duplex
    External = 3,   // a stand-alone print server without front panel
    Model7171 = 4,  // custom paper size and PostScript menu
};

}  // namespace sim
