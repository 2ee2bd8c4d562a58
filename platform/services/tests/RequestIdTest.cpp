#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "platform/services/RequestId.h"

namespace {

// Threads that take ids at once never get the same one, and each knows the id it took last.
TEST(RequestId, ThreadsTakeDistinctIdsAndEachKnowsItsLast) {
    constexpr int kThreads = 4;
    constexpr int kIds = 1000;
    std::vector<std::vector<std::int32_t>> taken(kThreads);
    std::vector<int> lastMatches(kThreads, 1);  // not vector<bool>: each thread writes its own
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&taken, &lastMatches, t] {
            lastMatches[t] = plat::LastRequestId() == 0;
            for (int i = 0; i < kIds; ++i) {
                taken[t].push_back(plat::NextRequestId());
                lastMatches[t] = lastMatches[t] && plat::LastRequestId() == taken[t].back();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<std::int32_t> all;
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_TRUE(lastMatches[t]) << "thread " << t;
        all.insert(taken[t].begin(), taken[t].end());
    }
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kIds));
    EXPECT_GE(*all.begin(), 1);
}

}  // namespace
