#pragma once

#include <sys/types.h>

#include <string>

namespace portmon {

// A cupsd of its own in a folder of its own (inside the test network), with the backend `vorlane` in
// its ServerBin. Start sets CUPS_SERVER for this process, so that its clients reach this server.
// Used by the tests (a fresh folder each time, removed at the end) and by `vorlane-spooler`, which
// scripts/run starts on a folder that is kept, so that its queues come back from run to run.
class PrivateSpooler {
  public:
    PrivateSpooler() = default;
    ~PrivateSpooler();
    PrivateSpooler(const PrivateSpooler&) = delete;
    PrivateSpooler& operator=(const PrivateSpooler&) = delete;

    // In `folder` when one is given (made when missing, kept at the end), else in a fresh one.
    bool Start(const std::string& backend, std::string& error, const std::string& folder = "");
    // Ends cupsd and removes a fresh folder (kept with KEEP_CUPSD set, for a look at the server's log).
    void Stop();

    std::string Folder() const { return folder_; }
    std::string Socket() const { return folder_ + "/cups.sock"; }

  private:
    bool MakeFolder(const std::string& backend, const std::string& folder, std::string& error);
    void WriteConfiguration() const;
    // Waits for cupsd to answer; false with the reason when it ended first or did not answer in time.
    bool AwaitServer(std::string& error);

    std::string folder_;
    bool kept_ = false;  // the folder was given, not made for this run
    pid_t pid_ = -1;
};

}  // namespace portmon
