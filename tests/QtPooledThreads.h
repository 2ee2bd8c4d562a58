#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/Eventually.h"

// Qt's global thread pool runs the threads on which the raster engine fills large areas. The
// application's end stops them and waits for their work, but the threads are detached: one still on
// its way out holds its Qt thread data where the leak check at exit no longer sees it, and the check
// reports that as lost. A test program that paints calls this once its application is gone; on a loaded
// machine the threads may take long to end.
inline void AwaitPooledQtThreads() {
    const auto pooledThreadsLeft = [] {
        std::error_code error;
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
            std::string name;
            std::getline(std::ifstream(task.path() / "comm"), name);
            if (name == "Thread (pooled)") {
                return false;
            }
        }
        return true;
    };
    testsupport::Eventually(pooledThreadsLeft, testsupport::kLoadedMachineWait, std::chrono::milliseconds(1));
}
