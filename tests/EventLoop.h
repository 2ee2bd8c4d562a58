#pragma once

#include <cstdint>
#include <functional>

namespace consoletest {

// The console's event loop for a while: it waits on the thread's queue descriptor, as the console's
// socket notifier does, and dispatches every waiting message, until `done` answers true or `ms`
// passed. Answers done's last answer.
bool RunEventsUntil(const std::function<bool()>& done, std::uint32_t ms);

}  // namespace consoletest
