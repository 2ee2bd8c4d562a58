#include "portmonitor/tests/PrivateCupsd.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/spooler/DeviceUri.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace portmon::test {

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    return pclose(pipe) == 0 ? output : "failed: " + output;
}

namespace {

// A fresh empty file of the test's own; its path.
std::string ScratchFile() {
    char path[] = "/tmp/vorlane-backend-run.XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) {
        close(fd);
    }
    return path;
}

std::string Contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

BackendRun RunBackend(const std::string& backend, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& variables) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (variables.count(entry.substr(0, entry.find('='))) == 0) {
            environment.push_back(entry);
        }
    }
    for (const auto& [name, value] : variables) {
        environment.push_back(name + "=" + value);
    }
    std::vector<char*> argv{const_cast<char*>(backend.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    const std::string out = ScratchFile();
    const std::string err = ScratchFile();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_TRUNC, 0);
    BackendRun run;
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, backend.c_str(), &files, nullptr, argv.data(), envp.data()) == 0 &&
        waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.code = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&files);
    run.out = Contents(out);
    run.err = Contents(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

std::string UnsafeLines(const std::string& output, const std::vector<std::string>& prefixes) {
    if (!output.empty() && output.back() != '\n') {
        return "the last line has no end: " + output;
    }
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const auto prefix = std::find_if(prefixes.begin(), prefixes.end(),
                                         [&](const std::string& known) { return line.rfind(known, 0) == 0; });
        if (prefix == prefixes.end()) {
            return "a line of no known kind: " + line;
        }
        for (char c : line) {
            if (IsControl(static_cast<unsigned char>(c))) {
                return "a control character in: " + line;
            }
        }
        for (const char* order : {"STATE:", "ATTR:", "PPD:"}) {
            if (line.compare(prefix->size(), std::strlen(order), order) == 0) {
                return "an order to cupsd: " + line;
            }
        }
    }
    return "";
}

bool PrivateCupsd::AddQueue(const std::string& queue, const std::string& port) {
    return RunCommand("lpadmin -p '" + queue + "' -E -v '" + plat::PortDeviceUri(port) +
                      "' -m raw -o printer-error-policy=abort-job")
               .rfind("failed", 0) != 0;
}

std::string PrivateCupsd::WriteFile(const std::vector<uint8_t>& bytes) {
    const std::string path = Folder() + "/jobs/job" + std::to_string(++files_);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

int PrivateCupsd::Print(const std::string& queue, const std::vector<uint8_t>& bytes,
                        const std::string& arguments) {
    const std::string output = RunCommand("lp -d '" + queue + "' " + arguments + " " + WriteFile(bytes));
    // "request id is QUEUE-N (1 file(s))"
    const std::string marker = "request id is " + queue + "-";
    const std::size_t at = output.find(marker);
    return at == std::string::npos ? 0 : std::atoi(output.c_str() + at + marker.size());
}

bool PrivateCupsd::Cancel(int job) {
    return RunCommand("cancel " + std::to_string(job)).rfind("failed", 0) != 0;
}

bool PrivateCupsd::Release(int job) {
    return RunCommand("lp -i " + std::to_string(job) + " -H resume").rfind("failed", 0) != 0;
}

std::string PrivateCupsd::SpoolFile(int job) const {
    char name[32];
    std::snprintf(name, sizeof name, "/spool/d%05d-001", job);
    return Folder() + name;
}

int PrivateCupsd::JobState(int job) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id == job) {
            state = jobs[i].state;
        }
    }
    cupsFreeJobs(count, jobs);
    return state;
}

int PrivateCupsd::WaitForEnd(int job, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int state = JobState(job);
    while (state < IPP_JSTATE_CANCELED && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        state = JobState(job);
    }
    return state;
}

std::vector<std::string> PrivateCupsd::JobLog(int job) const {
    std::ifstream log(Folder() + "/log/error_log");
    const std::string marker = "[Job " + std::to_string(job) + "] ";
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos) {
            lines.push_back(line.substr(0, 1) + " " + line.substr(at + marker.size()));
        }
    }
    return lines;
}

bool PrivateCupsd::WaitForBackend(int job, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        for (const std::string& line : JobLog(job)) {
            if (line.find("Backend returned status") != std::string::npos ||
                line.find("crashed on signal") != std::string::npos) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool PrivateCupsd::BackendCrashed(int job) const {
    for (const std::string& line : JobLog(job)) {
        for (const char* sign : {"crashed on signal", "runtime error:", "Sanitizer"}) {
            if (line.find(sign) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

std::string PrivateCupsd::StateReasons(const std::string& queue) const {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
    const char* reasons =
        dest != nullptr ? cupsGetOption("printer-state-reasons", dest->num_options, dest->options) : nullptr;
    std::string text = reasons != nullptr ? reasons : "";
    cupsFreeDests(1, dest);
    return text;
}

int64_t PrivateCupsd::LoggedChecksum(int job) const {
    int64_t checksum = -1;
    for (const std::string& line : JobLog(job)) {
        if (line.rfind("D Checksum=", 0) == 0) {
            checksum = std::strtoll(line.c_str() + 11, nullptr, 16);
        }
    }
    return checksum;
}

}  // namespace portmon::test
