#pragma once

#include <exception>

// What the console does with a run-time fault (a string missing from its table, a library that
// cannot be loaded): one inside an event handler is shown and the console goes on; one inside the
// few procedures it cannot go on without (start-up, shut-down, the reads of the password gate and
// of the alerts dialog's opening) is shown and ends the console at once, without its shut-down steps.
namespace console {

// The fault's description in a box titled "System Error".
void ShowFault(const std::exception& fault);
// A library that cannot be loaded as a broken installation, any other fault as ShowFault; then the
// process ends.
[[noreturn]] void EndOnFault(const std::exception& fault);

template <typename Procedure>
decltype(auto) UnderFatalRule(Procedure&& procedure) {
    try {
        return procedure();
    } catch (const std::exception& fault) {
        EndOnFault(fault);
    }
}

}  // namespace console
