#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/tests/AdderProcess.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreConcurrency = StoreTestKey;

constexpr int kAddsPerProcess = 500;

// Runs two adders at once on one number: both open the store together, then both add together.
// Sorted, the results they saw must be 1 to the total: no add saw what another add saw.
std::vector<std::uint32_t> RunTwoAdders(const std::string& key, const std::string& registry) {
    AdderProcess first(key, kAddsPerProcess, registry);
    AdderProcess second(key, kAddsPerProcess, registry);
    if (!first.Started() || !second.Started()) {
        ADD_FAILURE() << "cannot start " << STORE_ADDER;
        return {};
    }
    first.Open();
    second.Open();
    EXPECT_TRUE(first.Ready() && second.Ready());
    first.Add();
    second.Add();
    int firstExit = -1;
    int secondExit = -1;
    std::vector<std::uint32_t> results = first.Finish(&firstExit);
    const std::vector<std::uint32_t> more = second.Finish(&secondExit);
    EXPECT_EQ(firstExit, 0);
    EXPECT_EQ(secondExit, 0);
    const bool overlapped = !results.empty() && !more.empty() &&
                            std::max(results.front(), more.front()) < std::min(results.back(), more.back());
    std::printf("the two adders' runs %s\n", overlapped ? "overlapped" : "did not overlap");
    results.insert(results.end(), more.begin(), more.end());
    std::sort(results.begin(), results.end());
    return results;
}

std::vector<std::uint32_t> OneToTotal() {
    std::vector<std::uint32_t> expected(2 * kAddsPerProcess);
    std::iota(expected.begin(), expected.end(), 1u);
    return expected;
}

TEST_F(StoreConcurrency, TwoProcessesAddingToOneNumberLoseNoUpdate) {
    const std::string entry = path_ + "\\AdapterOnly\\0000C0123456";
    EXPECT_EQ(RunTwoAdders(entry, ""), OneToTotal());
    StoreKey key = 0;
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, entry.c_str(), kStoreRead, &key), kStoreOk);
    EXPECT_EQ(Number(key, "Category"), 2u * kAddsPerProcess);
    StoreCloseKey(key);
}

TEST_F(StoreConcurrency, TwoProcessesStartingOnANewFileSetItUpOnce) {
    const std::filesystem::path folder = std::filesystem::path(std::getenv("VORLANE_REGISTRY")).parent_path();
    const std::string fresh = (folder / "fresh" / "registry.db").string();
    std::filesystem::remove_all(folder / "fresh");
    EXPECT_EQ(RunTwoAdders("Software\\Vorlane\\VorlanePrintUtility\\3.0\\AdapterOnly\\0000C0123456", fresh),
              OneToTotal());
    std::filesystem::remove_all(folder / "fresh");
}

TEST_F(StoreConcurrency, ThreadsAddingToOneNumberLoseNoUpdate) {
    constexpr int kThreads = 4;
    constexpr int kAdds = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this] {
            StoreKey key = 0;
            ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, path_.c_str(), kStoreReadWrite, &key), kStoreOk);
            for (int i = 0; i < kAdds; ++i) {
                ASSERT_EQ(StoreAddToNumber(key, "Category", 1, nullptr), kStoreOk);
            }
            StoreCloseKey(key);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(Number(key_, "Category"), static_cast<std::uint32_t>(kThreads * kAdds));
}

}  // namespace
