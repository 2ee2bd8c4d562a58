#include "platform/store/tests/AdderProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string_view>

#include "tests/ChildLines.h"

extern char** environ;

namespace {

std::vector<std::string> Environment(const std::string& registry) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (registry.empty() || !std::string_view(*entry).starts_with("VORLANE_REGISTRY=")) {
            environment.emplace_back(*entry);
        }
    }
    if (!registry.empty()) {
        environment.push_back("VORLANE_REGISTRY=" + registry);
    }
    return environment;
}

}  // namespace

AdderProcess::AdderProcess(const std::string& key, int count, const std::string& registry) {
    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0) {
        return;
    }
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    const std::string countText = std::to_string(count);
    std::vector<char*> argv = {const_cast<char*>(STORE_ADDER), const_cast<char*>(key.c_str()),
                               const_cast<char*>("Category"), const_cast<char*>(countText.c_str()), nullptr};
    const std::vector<std::string> environment = Environment(registry);
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, STORE_ADDER, &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    start_ = input[1];
    output_ = fdopen(output[0], "r");
}

AdderProcess::~AdderProcess() {
    if (pid_ > 0) {
        int exitCode = 0;
        Finish(&exitCode);
    }
    if (output_ != nullptr) {
        std::fclose(output_);
    }
}

void AdderProcess::Open() {
    const char go = 'g';
    if (write(start_, &go, 1) != 1) {
        Add();  // it will find no byte and end
    }
}

::testing::AssertionResult AdderProcess::Ready() {
    // Read past the stream's buffer: the adder prints nothing more until it is let add. The bound is
    // for a loaded machine.
    std::string unread;
    return testsupport::ChildSays(pid_, output_ != nullptr ? fileno(output_) : -1, unread, "ready",
                                  std::chrono::seconds(60));
}

void AdderProcess::Add() {
    if (start_ >= 0) {
        close(start_);
        start_ = -1;
    }
}

std::vector<std::uint32_t> AdderProcess::Finish(int* exitCode) {
    Add();
    std::vector<std::uint32_t> results;
    unsigned value = 0;
    while (output_ != nullptr && std::fscanf(output_, "%u", &value) == 1) {
        results.push_back(value);
    }
    int status = 0;
    const bool ended = pid_ > 0 && waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    *exitCode = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return results;
}
