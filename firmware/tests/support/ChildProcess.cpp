#include "firmware/tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fendreltest {

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && WaitForExit(0) == -1) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (errorPipe_ >= 0) {
        close(errorPipe_);
    }
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        envp.push_back(*variable);
    }
    for (const std::string& variable : environment) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    envp.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    errorPipe_ = pipeFds[0];
    if (spawned != 0) {
        pid_ = -1;
    }
    return spawned == 0;
}

int ChildProcess::WaitForExit(int timeoutMs) {
    if (pid_ <= 0) {
        return -1;
    }
    // The process's descriptor turns readable the moment it ends.
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    pollfd ended{process, POLLIN, 0};
    if (process < 0 || poll(&ended, 1, timeoutMs) != 1) {
        if (process >= 0) {
            close(process);
        }
        return -1;
    }
    close(process);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ChildProcess::ErrorOutput() {
    char buffer[512];
    pollfd ready{errorPipe_, POLLIN, 0};
    while (errorPipe_ >= 0 && poll(&ready, 1, 0) > 0) {
        const ssize_t got = read(errorPipe_, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        errorOutput_.append(buffer, static_cast<std::size_t>(got));
    }
    return errorOutput_;
}

}  // namespace fendreltest
