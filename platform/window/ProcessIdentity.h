#pragma once

#include <sys/types.h>

#include <cstdint>

namespace plat {

// A process told apart from any later process that reuses its pid: the pid with the process's start time.
struct ProcessIdentity {
    pid_t pid = 0;
    std::uint64_t startTime = 0;  // clock ticks after boot

    bool operator==(const ProcessIdentity&) const = default;
};

ProcessIdentity SelfIdentity();

// True while that very process runs: false once it has ended (a zombie included) or its pid is reused.
bool IsProcessAlive(const ProcessIdentity& process);

}  // namespace plat
