// vorlane-spooler as scripts/run starts it: on a folder beside the demo's store, kept from run to run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "portmonitor/tests/PrivateCupsd.h"
#include "tests/ChildLines.h"

namespace portmon::test {
namespace {

// One run of vorlane-spooler on the folder, until the object goes.
class SpoolerRun {
  public:
    explicit SpoolerRun(const std::string& folder) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            execl(VORLANE_SPOOLER, VORLANE_SPOOLER, VORLANE_BACKEND, folder.c_str(), nullptr);
            _exit(127);
        }
        close(out[1]);
        // It waits up to a minute for its cupsd; the bound is for a loaded machine.
        std::string unread;
        const std::optional<std::string> ready =
            testsupport::NextChildLine(pid_, out[0], unread, std::chrono::seconds(180), &why_);
        close(out[0]);
        const std::string marker = "ready CUPS_SERVER=";
        if (ready && ready->rfind(marker, 0) == 0) {
            server_ = ready->substr(marker.size());
        } else if (ready) {
            why_ = "it said \"" + *ready + "\"";
        }
    }
    ~SpoolerRun() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    // The CUPS_SERVER of the run; empty when it did not start, and Why() says why.
    const std::string& Server() const { return server_; }
    const std::string& Why() const { return why_; }

  private:
    pid_t pid_ = -1;
    std::string server_;
    std::string why_;
};

TEST(SpoolerFolder, AQueueOfOneRunIsThereInTheNext) {
    std::string folder = ::testing::TempDir() + "spooler.XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder += "/demo-spooler";
    {
        SpoolerRun first(folder);
        ASSERT_FALSE(first.Server().empty()) << first.Why();
        const std::string made =
            RunCommand("CUPS_SERVER=" + first.Server() + " lpadmin -p Kept -E -v vorlane:/Kept -m raw");
        EXPECT_NE(made.rfind("failed", 0), 0u) << made;
    }
    SpoolerRun second(folder);
    ASSERT_FALSE(second.Server().empty()) << second.Why();
    EXPECT_NE(RunCommand("CUPS_SERVER=" + second.Server() + " lpstat -v Kept").find("vorlane:/Kept"),
              std::string::npos);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder).parent_path(), ignored);
}

}  // namespace
}  // namespace portmon::test
