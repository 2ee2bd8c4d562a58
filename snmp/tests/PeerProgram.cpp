#include "snmp/tests/PeerProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/ChildLines.h"

namespace snmp::test {

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(std::string(path != nullptr ? path : "") + ":/usr/sbin:/sbin:/usr/local/sbin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

PeerProgram::PeerProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& scratch) {
    log_ = scratch + "/" + path.substr(path.rfind('/') + 1) + ".log";
    pid_ = fork();
    if (pid_ != 0) {
        return;
    }
    const int out = open(log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    setenv("MIBS", "", 1);
    setenv("SNMP_PERSISTENT_DIR", scratch.c_str(), 1);
    std::vector<char*> argv = {const_cast<char*>(path.c_str())};
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
}

PeerProgram::~PeerProgram() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        Wait();
    }
}

std::string PeerProgram::End() const {
    return testsupport::EndOfChild(pid_);
}

std::string PeerProgram::Log() const {
    std::ifstream log(log_);
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

int PeerProgram::Wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) {
        return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::string& scratch) {
    PeerProgram program(path, arguments, scratch);
    return program.Wait();
}

}  // namespace snmp::test
