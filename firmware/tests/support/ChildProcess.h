#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace fendreltest {

// A program run as a child process (found on PATH unless the name has a slash); killed when still running at
// destruction.
class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts the program with the arguments and this process's environment plus `environment`
    // ("NAME=value" each); its stderr is kept for ErrorOutput.
    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});
    // The exit code, or -1 when it has not ended within timeoutMs.
    int WaitForExit(int timeoutMs);
    std::string ErrorOutput();

  private:
    pid_t pid_ = -1;
    int errorPipe_ = -1;
    std::string errorOutput_;
};

}  // namespace fendreltest
