#include "tests/SimulatorProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tests/ChildLines.h"

extern char** environ;

namespace consoletest {

namespace {

// A control reply comes at once; the bound is for a loaded machine.
constexpr std::chrono::milliseconds kReplyWait{60000};
// A site of ten thousand cards takes most of a minute to come up in a sanitized build, a few times
// longer on a loaded machine.
constexpr std::chrono::milliseconds kReadyWait{180000};
constexpr int kQuitMs = 5000;

std::string DescriptionPath() {
    const char* runtime = std::getenv("VORLANE_RUNTIME");
    return std::string(runtime != nullptr ? runtime : "/tmp") + "/cards-" + std::to_string(getpid()) + ".txt";
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

std::string CardLine(const std::string& name, const std::string& mac, const std::string& ip,
                     const std::string& protocols, int status) {
    return "card " + name + " mac=" + mac + " ip=" + ip + " protocols=" + protocols +
           " status=" + std::to_string(status) + "\n";
}

SimulatorProcess::~SimulatorProcess() {
    Stop();
}

bool SimulatorProcess::Start(const std::string& description, std::string& error) {
    const std::string path = DescriptionPath();
    std::ofstream(path) << description;
    signal(SIGPIPE, SIG_IGN);  // a program that has gone must not end the test with it
    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
        error = "no pipes";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    char* arguments[] = {const_cast<char*>(PRINTSERVER_SIM), const_cast<char*>(path.c_str()), nullptr};
    const int spawned = posix_spawn(&pid_, PRINTSERVER_SIM, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    toProgram_ = input[1];
    fromProgram_ = output[0];
    if (spawned != 0) {
        pid_ = -1;
        error = "cannot start " PRINTSERVER_SIM;
        return false;
    }
    std::string why;
    const std::optional<std::string> ready =
        testsupport::NextChildLine(pid_, fromProgram_, unread_, kReadyWait, &why);
    if (!ready) {
        error = "printserver-sim was not ready: " + why;
        return false;
    }
    if (ready->rfind("ready ", 0) != 0) {
        error = "printserver-sim said \"" + *ready + "\" instead of ready";
        return false;
    }
    return true;
}

std::string SimulatorProcess::Command(const std::string& line) {
    return SendLine(line) ? ReadLine() : "";
}

std::string SimulatorProcess::Listing(const std::string& line) {
    std::string lines;
    if (!SendLine(line)) {
        return lines;
    }
    for (std::string next = ReadLine(); !next.empty(); next = ReadLine()) {
        lines += next + '\n';
        if (next.rfind("ok", 0) == 0 || next.rfind("error", 0) == 0) {
            break;
        }
    }
    return lines;
}

std::int64_t SimulatorProcess::Number(const std::string& card, const std::string& oid) {
    const std::string reply = Command("get " + card + " " + oid);
    const auto lastWord = reply.rfind(' ');
    if (reply.rfind("ok ", 0) != 0 || lastWord == std::string::npos) {
        return -1;
    }
    char* end = nullptr;
    const long long number = std::strtoll(reply.c_str() + lastWord + 1, &end, 10);
    return *end == '\0' ? number : -1;
}

void SimulatorProcess::Stop() {
    if (pid_ > 0) {
        SendLine("quit");
        CloseIfOpen(toProgram_);
        for (int waitedMs = 0; waitpid(pid_, nullptr, WNOHANG) == 0; waitedMs += 10) {
            if (waitedMs >= kQuitMs) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                break;
            }
            usleep(10000);
        }
        pid_ = -1;
    }
    CloseIfOpen(toProgram_);
    CloseIfOpen(fromProgram_);
}

bool SimulatorProcess::SendLine(const std::string& line) {
    const std::string request = line + "\n";
    return toProgram_ >= 0 &&
           write(toProgram_, request.data(), request.size()) == static_cast<ssize_t>(request.size());
}

std::string SimulatorProcess::ReadLine() {
    return testsupport::NextChildLine(pid_, fromProgram_, unread_, kReplyWait).value_or("");
}

}  // namespace consoletest
