// vorlane-spooler as scripts/run starts it: on a folder beside the demo's store, kept from run to run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "portmonitor/tests/PrivateCupsd.h"

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
        FILE* lines = fdopen(out[0], "r");
        char line[512] = {};
        if (lines != nullptr && std::fgets(line, sizeof line, lines) != nullptr) {
            const std::string ready = line;
            const std::string marker = "ready CUPS_SERVER=";
            if (ready.rfind(marker, 0) == 0) {
                server_ = ready.substr(marker.size(), ready.find('\n') - marker.size());
            }
        }
        if (lines != nullptr) {
            std::fclose(lines);
        }
    }
    ~SpoolerRun() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    // The CUPS_SERVER of the run; empty when it did not start.
    const std::string& Server() const { return server_; }

  private:
    pid_t pid_ = -1;
    std::string server_;
};

TEST(SpoolerFolder, AQueueOfOneRunIsThereInTheNext) {
    std::string folder = ::testing::TempDir() + "spooler.XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder += "/demo-spooler";
    {
        SpoolerRun first(folder);
        ASSERT_FALSE(first.Server().empty());
        const std::string made =
            RunCommand("CUPS_SERVER=" + first.Server() + " lpadmin -p Kept -E -v vorlane:/Kept -m raw");
        EXPECT_NE(made.rfind("failed", 0), 0u) << made;
    }
    SpoolerRun second(folder);
    ASSERT_FALSE(second.Server().empty());
    EXPECT_NE(RunCommand("CUPS_SERVER=" + second.Server() + " lpstat -v Kept").find("vorlane:/Kept"),
              std::string::npos);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder).parent_path(), ignored);
}

}  // namespace
}  // namespace portmon::test
