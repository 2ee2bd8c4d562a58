// Preloaded into `vorlane-port configure` by its test: the tour of the port dialogs' help, started as
// the dialogs' module makes its application. What the tour met goes to standard output.
#include <QCoreApplication>

#include <cstdio>

#include "portmonitor/tests/HelpTour.h"

namespace {

void StartTour() {
    // The application is still being made: the tour starts from its event loop.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            TourPortDialogHelp("vorlane-port-", [](const QStringList& met) {
                for (const QString& line : met) {
                    std::printf("tour: %s\n", qPrintable(line));
                }
                std::fflush(stdout);
            });
        },
        Qt::QueuedConnection);
}

const bool kStarts = (qAddPreRoutine(StartTour), true);

}  // namespace
