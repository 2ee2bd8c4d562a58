#pragma once

#include "simulator/Oid.h"

namespace sim {

// The card's secrets: its two passwords and the names of its communities. A community that may only
// read does not see them (they do not exist for it), so it cannot learn the write community.
bool IsSecret(const Oid& oid);

}  // namespace sim
