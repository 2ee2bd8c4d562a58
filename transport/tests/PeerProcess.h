#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/ChildLines.h"

extern char** environ;

// The transport peer (transport_peer) run as another process: its standard output is read line by
// line; closing its standard input ends it.
class PeerProcess {
  public:
    // arguments: after the program name; environment: "NAME=value" entries added to this process's.
    PeerProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
        int input[2];
        int output[2];
        if (pipe(input) != 0 || pipe(output) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, input[1]);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        std::vector<std::string> argumentTexts{TRANSPORT_PEER_PATH};
        argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environmentTexts;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            if (!Overridden(*entry, environment)) {
                environmentTexts.emplace_back(*entry);
            }
        }
        environmentTexts.insert(environmentTexts.end(), environment.begin(), environment.end());
        std::vector<char*> argv = Pointers(argumentTexts);
        std::vector<char*> envp = Pointers(environmentTexts);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        input_ = input[1];
        output_ = output[0];
    }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    ~PeerProcess() {
        close(input_);
        close(output_);
        if (pid_ > 0) {
            int status = 0;
            for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i) {
                usleep(100 * 1000);
            }
            if (waitpid(pid_, &status, WNOHANG) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
            }
        }
    }

    // Once the peer bound its transport ("ready 0"); else why not. The bound is for a loaded machine.
    ::testing::AssertionResult WaitReady() {
        return testsupport::ChildSays(pid_, output_, pending_, "ready 0", std::chrono::seconds(60));
    }

    // The next line, without its newline; nothing within timeoutMs (by default, a bound for a
    // loaded machine).
    std::optional<std::string> ReadLine(int timeoutMs = 60000) {
        return testsupport::NextChildLine(pid_, output_, pending_, std::chrono::milliseconds(timeoutMs));
    }

    // Every line that arrives within timeoutMs.
    std::vector<std::string> ReadLines(int timeoutMs) {
        std::vector<std::string> lines;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            std::optional<std::string> line =
                ReadLine(static_cast<int>(std::max<long long>(left.count(), 1)));
            if (line) {
                lines.push_back(*line);
            }
        }
        return lines;
    }

  private:
    static bool Overridden(const std::string& entry, const std::vector<std::string>& environment) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& added : environment) {
            if (added.compare(0, name.size(), name) == 0) {
                return true;
            }
        }
        return false;
    }

    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string pending_;
};
