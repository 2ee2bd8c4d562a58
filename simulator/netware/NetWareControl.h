#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulator/netware/NetWareState.h"

namespace sim {

// Runs one control command of the NetWare network (simulator/README.md): seeds servers, trees and
// their objects, sets faults, shows objects and the call log. The reply's lines, the last one
// "ok ..." or "error reason".
std::string RunNetWareControl(NetWareState& state, std::string_view line);
std::string RunNetWareControl(NetWareState& state, const std::vector<std::string>& words);

}  // namespace sim
