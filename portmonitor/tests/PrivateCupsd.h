#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "portmonitor/spooler/PrivateSpooler.h"

namespace portmon::test {

// The output of a shell command, its errors with it; "failed: " before it when the command did not
// end well.
std::string RunCommand(const std::string& command);

// What a backend run left: its exit code (-1 when it did not exit), its standard output and error.
struct BackendRun {
    int code = -1;
    std::string out;
    std::string err;
};
// Starts the backend as cupsd starts it: the arguments (job id, user, title, copies, options and
// the file; none to list the ports) and cupsd's variables (DEVICE_URI, PRINTER) beside the test's
// own environment.
BackendRun RunBackend(const std::string& backend, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& variables);
// Why the backend's output is not what cupsd may safely read, "" when it is: each line must start
// with one of the prefixes, hold no control character, and say nothing that cupsd acts on (STATE:,
// ATTR:, PPD:) after its prefix.
std::string UnsafeLines(const std::string& output, const std::vector<std::string>& prefixes);

// The test's own private spooler (see PrivateSpooler), with raw queues that print through the
// backend and a look at its jobs and log.
class PrivateCupsd {
  public:
    bool Start(const std::string& backend, std::string& error) { return spooler_.Start(backend, error); }

    // A raw queue whose device URI is "vorlane:/PORT", errors ending the job (not the queue).
    bool AddQueue(const std::string& queue, const std::string& port);
    // Prints a file with `lp` and its further arguments (shell words); the job id, 0 when lp refused
    // it.
    int Print(const std::string& queue, const std::vector<uint8_t>& bytes, const std::string& arguments = "");
    // Cancels with `cancel`; true when the program succeeded.
    bool Cancel(int job);
    // Releases a job printed with "-H hold"; true when the program succeeded.
    bool Release(int job);
    // The spool file cupsd keeps of the job's document, which the backend reads.
    std::string SpoolFile(int job) const;

    // The job's state (ipp_jstate_t), 0 when it cannot be read.
    int JobState(int job);
    // Waits for the job to end: its last state, or the one it still had when the time ran out.
    int WaitForEnd(int job, std::chrono::milliseconds timeout);
    // The lines cupsd logged for the job (the backend's among them): the level letter, a blank and
    // the text.
    std::vector<std::string> JobLog(int job) const;
    // Waits until cupsd logged the end of the job's backend (its status, or its crash); false when
    // the time ran out first.
    bool WaitForBackend(int job, std::chrono::milliseconds timeout) const;
    // True when cupsd logged that the job's backend crashed, or the backend's sanitizer report (a test
    // build's backend ends on its first finding).
    bool BackendCrashed(int job) const;
    // The queue's printer-state-reasons as cupsd reports them ("none" for none).
    std::string StateReasons(const std::string& queue) const;
    // The checksum the monitor logged for the job, -1 when none.
    int64_t LoggedChecksum(int job) const;
    std::string Folder() const { return spooler_.Folder(); }

  private:
    std::string WriteFile(const std::vector<uint8_t>& bytes);

    PrivateSpooler spooler_;
    int files_ = 0;
};

}  // namespace portmon::test
