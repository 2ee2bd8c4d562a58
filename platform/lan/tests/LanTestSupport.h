#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/lan/LanHooks.h"
#include "tests/ChildLines.h"

extern char** environ;

namespace plat::test {

// A segment folder of the test's own, with quick timers and no loss or delay.
class TempLan {
  public:
    TempLan() {
        char pattern[] = "/tmp/vorlane-lan-test.XXXXXX";
        folder_ = mkdtemp(pattern);
        setenv("VORLANE_LAN", folder_.c_str(), 1);
        SetLanTiming(LanTiming{50, 12, 200});
        SetLanDropShare(0);
        SetLanDelay(0);
    }
    ~TempLan() {
        unsetenv("VORLANE_LAN");
        SetLanDropShare(0);
        SetLanDelay(0);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
};

// What the spxsend peer writes: more than the link's window holds, so that the peer's end comes
// while most of it is still on its way.
constexpr std::size_t kSentBytes = 64 << 10;
inline std::uint8_t SentByte(std::size_t i) {
    return static_cast<std::uint8_t>(i * 7 + i / 251);
}

inline bool WaitReadable(int fd, int milliseconds) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, milliseconds) == 1;
}

// A program started with arguments, whose first output line says it is ready. Its standard input
// stays open for its life: the peer ends when it closes.
class PeerProcess {
  public:
    explicit PeerProcess(const std::vector<std::string>& arguments) {
        int in[2];
        int out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }
    ~PeerProcess() {
        if (input_ >= 0) {
            close(input_);
        }
        if (output_ >= 0) {
            close(output_);
        }
        if (pid_ > 0) {
            int status;
            waitpid(pid_, &status, 0);
        }
    }

    // Once the peer said it is ready; else why not. The bound is for a loaded machine.
    ::testing::AssertionResult Ready() {
        return testsupport::ChildSays(pid_, output_, unread_, "ready", std::chrono::seconds(60));
    }
    void Kill() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
        }
    }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string unread_;
};

// The peer program built beside the test program.
inline std::string PeerProgram(const char* name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

}  // namespace plat::test
