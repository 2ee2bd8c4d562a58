#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The adder program (StoreAdder.cpp) as a second process: started, let open the store, let add, and
// waited for.
class AdderProcess {
  public:
    // An empty `registry` keeps this process's store file.
    AdderProcess(const std::string& key, int count, const std::string& registry);
    ~AdderProcess();
    AdderProcess(const AdderProcess&) = delete;
    AdderProcess& operator=(const AdderProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Lets it open the store; Ready() waits until it says it has.
    void Open();
    ::testing::AssertionResult Ready();
    // Lets it add.
    void Add();
    // Waits for its end (letting it add first) and gives back the results it printed. The exit code
    // is -1 when it did not exit on its own.
    std::vector<std::uint32_t> Finish(int* exitCode);

  private:
    pid_t pid_ = -1;
    int start_ = -1;
    FILE* output_ = nullptr;
};
