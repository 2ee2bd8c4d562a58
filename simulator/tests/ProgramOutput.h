#pragma once

#include <string>
#include <vector>

namespace sim::test {

struct ProgramResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs a program with these arguments (no shell, so no quoting) and the extra environment
// entries, and collects what it prints.
ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

}  // namespace sim::test
