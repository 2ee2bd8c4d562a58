#pragma once

#include <string>
#include <vector>

#include "platform/netware/NetWareCodes.h"
#include "simulator/netware/NetWareState.h"

namespace sim {

// Carries out one call of a client: `fields` are the request's (the call's name, then its
// arguments); the reply's fields go to `out`. A request that cannot be read gives kNwBadRequest.
plat::NwCode RunNetWareCall(NetWareState& state, NwSession& session, const std::vector<std::string>& fields,
                            std::vector<std::string>& out);

}  // namespace sim
