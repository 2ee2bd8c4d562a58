#include "portmonitor/tests/PrivateCupsd.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace portmon::test {

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string Run(const std::string& command) {
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

// The variables the backend needs, passed on by cupsd.
std::string SetEnvLines() {
    std::string lines;
    for (const char* name : {"VORLANE_REGISTRY", "VORLANE_RUNTIME", "VORLANE_LAN", "VORLANE_STATION",
                             "ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            lines += std::string("SetEnv ") + name + " " + value + "\n";
        }
    }
    return lines;
}

}  // namespace

PrivateCupsd::~PrivateCupsd() {
    Stop();
}

bool PrivateCupsd::Start(const std::string& backend, std::string& error) {
    char folder[] = "/tmp/vorlane-cups.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        error = "no folder";
        return false;
    }
    folder_ = folder;
    for (const char* sub : {"/spool", "/cache", "/state", "/tmp", "/log", "/bin", "/bin/backend",
                            "/bin/filter", "/bin/daemon", "/jobs"}) {
        mkdir((folder_ + sub).c_str(), 0755);
    }
    chmod((folder_ + "/tmp").c_str(), 01777);
    if (symlink("/usr/lib/cups/daemon/cups-exec", (folder_ + "/bin/daemon/cups-exec").c_str()) != 0 ||
        symlink(backend.c_str(), (folder_ + "/bin/backend/vorlane").c_str()) != 0) {
        error = "cannot link the server's programs";
        return false;
    }
    WriteText(folder_ + "/cups-files.conf",
              "ServerRoot " + folder_ + "\nRequestRoot " + folder_ + "/spool\nCacheDir " + folder_ +
                  "/cache\nStateDir " + folder_ + "/state\nTempDir " + folder_ + "/tmp\nServerBin " +
                  folder_ + "/bin\nAccessLog " + folder_ + "/log/access_log\nErrorLog " + folder_ +
                  "/log/error_log\nPageLog " + folder_ + "/log/page_log\n" + SetEnvLines());
    WriteText(
        folder_ + "/cupsd.conf",
        "Listen " + folder_ +
            "/cups.sock\nLogLevel debug\nDefaultAuthType None\nBrowsing Off\n"
            "WebInterface No\nErrorPolicy abort-job\nMaxJobs 0\nMaxJobsPerPrinter 0\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n</Policy>\n");
    pid_ = fork();
    if (pid_ == 0) {
        // cupsd runs no job as uid 0.
        execlp("unshare", "unshare", "-U", "--map-user=1000", "--map-group=1000", "cupsd", "-f", "-c",
               (folder_ + "/cupsd.conf").c_str(), "-s", (folder_ + "/cups-files.conf").c_str(), nullptr);
        _exit(127);
    }
    setenv("CUPS_SERVER", (folder_ + "/cups.sock").c_str(), 1);
    for (int wait = 0; wait < 100; ++wait) {
        if (access((folder_ + "/cups.sock").c_str(), F_OK) == 0 &&
            Run("lpstat -r").find("is running") != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    error = "cupsd did not start";
    return false;
}

void PrivateCupsd::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    // With KEEP_CUPSD set the folder stays, for a look at the server's log after a failure.
    if (!folder_.empty() && !std::getenv("KEEP_CUPSD")) {
        Run("rm -rf " + folder_);
        folder_.clear();
    }
}

bool PrivateCupsd::AddQueue(const std::string& queue, const std::string& port) {
    return Run("lpadmin -p " + queue + " -E -v vorlane:/" + port +
               " -m raw -o printer-error-policy=abort-job")
               .rfind("failed", 0) != 0;
}

std::string PrivateCupsd::WriteFile(const std::vector<uint8_t>& bytes) {
    const std::string path = folder_ + "/jobs/job" + std::to_string(++files_);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

int PrivateCupsd::Print(const std::string& queue, const std::vector<uint8_t>& bytes) {
    const std::string output = Run("lp -d " + queue + " " + WriteFile(bytes));
    // "request id is QUEUE-N (1 file(s))"
    const std::string marker = "request id is " + queue + "-";
    const std::size_t at = output.find(marker);
    return at == std::string::npos ? 0 : std::atoi(output.c_str() + at + marker.size());
}

bool PrivateCupsd::Cancel(int job) {
    return Run("cancel " + std::to_string(job)).rfind("failed", 0) != 0;
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
    std::ifstream log(folder_ + "/log/error_log");
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
