#include "portmonitor/spooler/PrivateSpooler.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace portmon {

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

// The variables the backend needs. cupsd gives a backend a clean environment and takes SetEnv for
// it from cups-files.conf only.
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

// cupsd answers within a second or two; the bound is for a loaded machine.
constexpr std::chrono::seconds kServerWait{60};

// How a child ended, from its wait status.
std::string EndOf(int status) {
    return WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                             : "killed by signal " + std::to_string(WTERMSIG(status));
}

// The last lines of a log, after a colon; nothing when it is empty or missing.
std::string LogEnd(const std::string& path) {
    std::ifstream log(path);
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    constexpr std::size_t kShown = 2000;
    return text.empty() ? "" : ": " + text.substr(text.size() > kShown ? text.size() - kShown : 0);
}

bool ServerAnswers() {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                                1000, nullptr);
    httpClose(http);
    return http != nullptr;
}

}  // namespace

PrivateSpooler::~PrivateSpooler() {
    Stop();
}

bool PrivateSpooler::Start(const std::string& backend, std::string& error, const std::string& folder) {
    if (!MakeFolder(backend, folder, error)) {
        return false;
    }
    WriteConfiguration();
    pid_ = fork();
    if (pid_ == 0) {
        // cupsd runs no job as uid 0, and must hear SIGTERM even where the caller blocks it.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execlp("unshare", "unshare", "-U", "--map-user=1000", "--map-group=1000", "cupsd", "-f", "-c",
               (folder_ + "/cupsd.conf").c_str(), "-s", (folder_ + "/cups-files.conf").c_str(), nullptr);
        _exit(127);
    }
    setenv("CUPS_SERVER", Socket().c_str(), 1);
    cupsSetServer(Socket().c_str());
    if (pid_ < 0) {
        error = "cannot start cupsd";
        return false;
    }
    return AwaitServer(error);
}

bool PrivateSpooler::MakeFolder(const std::string& backend, const std::string& folder, std::string& error) {
    char fresh[] = "/tmp/vorlane-cups.XXXXXX";
    std::error_code failure;
    kept_ = !folder.empty();
    if (kept_ ? !std::filesystem::create_directories(folder, failure) && failure
              : mkdtemp(fresh) == nullptr) {
        error = "no folder";
        return false;
    }
    folder_ = kept_ ? std::filesystem::absolute(folder, failure).string() : fresh;
    for (const char* sub : {"/spool", "/cache", "/state", "/tmp", "/log", "/bin", "/bin/backend",
                            "/bin/filter", "/bin/daemon", "/jobs"}) {
        mkdir((folder_ + sub).c_str(), 0755);
    }
    chmod((folder_ + "/tmp").c_str(), 01777);
    std::error_code unknown;
    const std::string program = std::filesystem::absolute(backend, unknown).string();
    // A kept folder has the links of an earlier run, maybe to another build.
    for (const char* link : {"/bin/daemon/cups-exec", "/bin/backend/vorlane"}) {
        std::filesystem::remove(folder_ + link, unknown);
    }
    if (symlink("/usr/lib/cups/daemon/cups-exec", (folder_ + "/bin/daemon/cups-exec").c_str()) != 0 ||
        symlink(program.c_str(), (folder_ + "/bin/backend/vorlane").c_str()) != 0) {
        error = "cannot link the server's programs";
        return false;
    }
    return true;
}

void PrivateSpooler::WriteConfiguration() const {
    // A fresh folder lives for one run and goes with it: its log is kept whole (cupsd would move it
    // aside at a megabyte), so that every line of the run can be read. A kept folder's is rotated.
    const std::string logSize = kept_ ? "" : "MaxLogSize 0\n";
    WriteText(folder_ + "/cups-files.conf",
              "ServerRoot " + folder_ + "\nRequestRoot " + folder_ + "/spool\nCacheDir " + folder_ +
                  "/cache\nStateDir " + folder_ + "/state\nTempDir " + folder_ + "/tmp\nServerBin " +
                  folder_ + "/bin\nAccessLog " + folder_ + "/log/access_log\nErrorLog " + folder_ +
                  "/log/error_log\nPageLog " + folder_ + "/log/page_log\n" + SetEnvLines());
    WriteText(
        folder_ + "/cupsd.conf",
        "Listen " + Socket() + "\nLogLevel debug\n" + logSize +
            "DefaultAuthType None\nBrowsing Off\n"
            "WebInterface No\nErrorPolicy abort-job\nMaxJobs 0\nMaxJobsPerPrinter 0\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n</Policy>\n");
}

bool PrivateSpooler::AwaitServer(std::string& error) {
    const auto deadline = std::chrono::steady_clock::now() + kServerWait;
    while (access(Socket().c_str(), F_OK) != 0 || !ServerAnswers()) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error = "cupsd ended (" + EndOf(status) + ")" + LogEnd(folder_ + "/log/error_log");
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "cupsd did not answer in time" + LogEnd(folder_ + "/log/error_log");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

void PrivateSpooler::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (!folder_.empty() && !kept_ && !std::getenv("KEEP_CUPSD")) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        folder_.clear();
    }
}

}  // namespace portmon
