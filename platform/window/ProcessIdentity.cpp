#include "platform/window/ProcessIdentity.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

namespace plat {

namespace {

struct ProcessState {
    char state = 0;
    std::uint64_t startTime = 0;
};

// /proc/<pid>/stat: the command name (field 2) may hold blanks and parentheses, so the fields are
// counted from the last ')': state is field 3, start time field 22.
std::optional<ProcessState> ReadState(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto close = line.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(close + 1));
    ProcessState result;
    fields >> result.state;
    std::string skipped;
    for (int field = 4; field < 22 && fields >> skipped; ++field) {
    }
    if (!(fields >> result.startTime)) {
        return std::nullopt;
    }
    return result;
}

}  // namespace

ProcessIdentity SelfIdentity() {
    // Cached per pid, so that a forked child finds its own identity.
    static thread_local ProcessIdentity cached;
    const pid_t pid = getpid();
    if (cached.pid != pid) {
        const auto state = ReadState(pid);
        cached = {pid, state ? state->startTime : 0};
    }
    return cached;
}

bool IsProcessAlive(const ProcessIdentity& process) {
    if (process.pid <= 0) {
        return false;
    }
    const auto state = ReadState(process.pid);
    return state && state->startTime == process.startTime && state->state != 'Z' && state->state != 'X';
}

}  // namespace plat
