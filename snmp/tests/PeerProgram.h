#pragma once

// Runs a program of this machine (the net-snmp agent and tools) for an interoperability test.
#include <string>
#include <vector>

namespace snmp::test {

// The full path of a program found on PATH or in the system folders, or "" when it is absent.
std::string FindProgram(const std::string& name);

// Starts `path` with `arguments`, stdout and stderr into `logFile`, MIBS= and SNMP_PERSISTENT_DIR
// set to `scratch`; ends it (SIGTERM, then wait) when destroyed.
class PeerProgram {
  public:
    PeerProgram(const std::string& path, const std::vector<std::string>& arguments,
                const std::string& scratch);
    PeerProgram(const PeerProgram&) = delete;
    PeerProgram& operator=(const PeerProgram&) = delete;
    ~PeerProgram();

    bool Started() const { return pid_ > 0; }
    // How it ended ("exit status 1"), or "still running".
    std::string End() const;
    // What it has written so far.
    std::string Log() const;
    // Waits for the program to end and gives its exit status (-1 when it did not end normally).
    int Wait();

  private:
    int pid_ = -1;
    std::string log_;
};

// Runs a program to its end and gives its exit status.
int RunProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::string& scratch);

}  // namespace snmp::test
