#pragma once

#include <sys/types.h>

#include <string>

namespace portmon {

// A cupsd of its own in a folder of its own (inside the test network), with the backend `vorlane` in
// its ServerBin. Start sets CUPS_SERVER for this process, so that its clients reach this server.
// Used by the tests and by `vorlane-spooler`, which scripts/run starts.
class PrivateSpooler {
  public:
    PrivateSpooler() = default;
    ~PrivateSpooler();
    PrivateSpooler(const PrivateSpooler&) = delete;
    PrivateSpooler& operator=(const PrivateSpooler&) = delete;

    bool Start(const std::string& backend, std::string& error);
    // Ends cupsd and removes its folder (kept with KEEP_CUPSD set, for a look at the server's log).
    void Stop();

    std::string Folder() const { return folder_; }
    std::string Socket() const { return folder_ + "/cups.sock"; }

  private:
    bool MakeFolder(const std::string& backend, std::string& error);
    void WriteConfiguration() const;
    bool AwaitServer();

    std::string folder_;
    pid_t pid_ = -1;
};

}  // namespace portmon
