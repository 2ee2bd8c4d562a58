#include "simulator/tests/ProgramOutput.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace sim::test {

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    ProgramResult result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return result;
    }
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        for (const std::string& entry : environment) {
            putenv(const_cast<char*>(entry.c_str()));
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t size;
    while ((size = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        result.output.append(buffer, static_cast<size_t>(size));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace sim::test
