#include "simulator/EngineProfile.h"

namespace sim {

EngineProfile ProfileOf(EngineType engine) {
    switch (engine) {
        case EngineType::Office:
            return {"6060", "V2.14 08/15/2000", 0x0100, 4};
        case EngineType::Compact:
            return {"5050", "V1.32 11/02/1999", 0x0200, 1};
        case EngineType::External:
            return {"EX-100", "V3.01 03/01/2000", 0xFF12, 2};
        case EngineType::Model7171:
            return {"7171", "V1.05 05/20/2000", 0x0402, 3};
    }
    return {"6060", "V2.14 08/15/2000", 0x0100, 4};
}

}  // namespace sim
