#pragma once

#include <string>
#include <string_view>

#include "simulator/Simulator.h"

namespace sim {

// Runs one line of the control channel (commands in simulator/README.md) and gives the reply:
// "ok" with what was asked for, or "error" and the reason. Sets `quit` for "quit".
std::string RunControlCommand(Simulator& simulator, std::string_view line, bool& quit);

}  // namespace sim
