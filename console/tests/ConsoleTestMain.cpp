// The console's tests run the real widgets headless, under the console's own application, with
// message boxes answered by the tests.
#include <gtest/gtest.h>

#include <cstdlib>

#include "console/core/ConsoleApplication.h"
#include "tests/QtPooledThreads.h"

namespace {

int RunTests(int argc, char** argv) {
    console::ConsoleApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // What a test left for the loop (objects to delete later, queued calls) goes before the end.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int result = RunTests(argc, argv);
    AwaitPooledQtThreads();
    return result;
}
