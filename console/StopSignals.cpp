#include "console/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace console {

namespace {

int gWakeFd = -1;

void OnStopSignal(int) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(gWakeFd, &byte, 1);
}

}  // namespace

void QuitOnStopSignals(QObject* owner) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // the signals keep their default: the program ends at once
    }
    gWakeFd = fds[1];
    auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { QCoreApplication::exit(0); });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace console
