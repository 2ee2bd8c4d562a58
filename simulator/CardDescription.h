#pragma once

#include <string>
#include <vector>

#include "simulator/EngineType.h"
#include "simulator/MibValue.h"
#include "simulator/Protocol.h"

namespace sim {

// What a card is when it starts: the description file's line, or a test's fixture.
struct CardDescription {
    std::string name;
    std::string location;
    Mac mac{};
    Ipv4 ip{};  // 0.0.0.0: a new card that has no address yet
    std::array<uint8_t, 4> ipxNetwork{};
    uint8_t category = 2;
    EngineType engine = EngineType::Office;
    uint8_t protocols = AllProtocols;  // Protocol bits the card answers on
    int32_t status = 0;                // printer status code
    uint32_t statusEverySeconds = 0;   // the program changes the status this often; 0 never
    std::vector<std::string> zones;    // AppleTalk zones; the first is the current one
    bool appleTalk = true;
    std::string model;     // empty: the engine's own
    std::string version;   // empty: the engine's own
    std::string password;  // empty: password protection off
};

}  // namespace sim
