#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "simulator/JobListener.h"

namespace sim {

// The job listener's control lines; nothing for a line that is not one of them:
//   job-fault CARD busy N | refuse [on|off] | late MS | stop-reading [on|off] | reset BYTES |
//             no-answer [on|off] | receiver-busy MS | clear
//   jobs CARD   one line per logged job, then "ok N jobs"
// CARD is a card's name, its hardware address as 12 hexadecimal digits, or '#' and its index.
std::optional<std::string> RunJobCommand(JobListener& listener, std::string_view line);

}  // namespace sim
