// The port monitor's dialog tests run the real widgets offscreen under a plain application.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/QtPooledThreads.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int result = 0;
    {
        QApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    AwaitPooledQtThreads();
    return result;
}
