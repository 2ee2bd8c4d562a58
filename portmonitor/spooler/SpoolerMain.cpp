// vorlane-spooler BACKEND [FOLDER]: starts a private cupsd (see PrivateSpooler) whose backend
// `vorlane` is the program given, prints "ready CUPS_SERVER=SOCKET" and keeps the server until it is
// told to end (SIGTERM, SIGINT or SIGHUP); then it ends cupsd. The server's files (its queues among
// them) live in FOLDER and stay there for the next start; without one, in a fresh folder removed at
// the end.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "portmonitor/spooler/PrivateSpooler.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: vorlane-spooler BACKEND [FOLDER]\n");
        return 2;
    }
    sigset_t endings;
    sigemptyset(&endings);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&endings, signal);
    }
    // Blocked from the start, so that a signal during Start waits for sigwait and the cleanup.
    sigprocmask(SIG_BLOCK, &endings, nullptr);
    portmon::PrivateSpooler spooler;
    std::string error;
    if (!spooler.Start(argv[1], error, argc == 3 ? argv[2] : "")) {
        std::fprintf(stderr, "vorlane-spooler: %s\n", error.c_str());
        return 1;
    }
    std::printf("ready CUPS_SERVER=%s\n", spooler.Socket().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&endings, &received);
    return 0;
}
