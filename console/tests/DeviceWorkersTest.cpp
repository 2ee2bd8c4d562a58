// Work with many print servers at once: each item is worked once, as soon as it is added, the results
// come back in order, the items that may go over DLC never run beside each other, and a failure
// reaches the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "console/core/DeviceWorkers.h"

namespace console {
namespace {

constexpr std::size_t kItems = 400;

bool Lone(std::size_t i) {
    return i % 3 == 0;
}

// Every item below count added at once, then finished.
void ForEachOnWorkers(std::size_t count, const std::function<void(std::size_t)>& work,
                      const std::function<void(std::size_t)>& done,
                      const std::function<bool(std::size_t)>& alone) {
    DeviceWork devices(work);
    for (std::size_t i = 0; i < count; ++i) {
        devices.Add(alone(i));
    }
    devices.Finish(done);
}

TEST(DeviceWorkers, EachItemOnceResultsInOrderAndLoneItemsOneAtATime) {
    const auto worked = std::make_unique<std::atomic<int>[]>(kItems);
    std::atomic<int> lonesAtOnce{0};
    std::atomic<int> mostLonesAtOnce{0};
    std::vector<std::size_t> done;
    ForEachOnWorkers(
        kItems,
        [&](std::size_t i) {
            if (Lone(i)) {
                const int now = ++lonesAtOnce;
                mostLonesAtOnce = std::max(mostLonesAtOnce.load(), now);
                std::this_thread::sleep_for(
                    std::chrono::microseconds(200));  // room to overlap, were it allowed
                --lonesAtOnce;
            }
            ++worked[i];
        },
        [&](std::size_t i) {
            EXPECT_EQ(worked[i].load(), 1) << "taken before its work was done: " << i;
            done.push_back(i);
        },
        Lone);
    ASSERT_EQ(done.size(), kItems);
    for (std::size_t i = 0; i < kItems; ++i) {
        EXPECT_EQ(done[i], i);
        EXPECT_EQ(worked[i].load(), 1) << i;
    }
    EXPECT_EQ(mostLonesAtOnce.load(), 1);
}

TEST(DeviceWorkers, AFailureOfTheWorkReachesTheCallerOnceTheThreadsHaveStopped) {
    std::vector<std::size_t> done;
    EXPECT_THROW(ForEachOnWorkers(
                     kItems,
                     [](std::size_t i) {
                         if (i == 7) {
                             throw std::runtime_error("library missing");
                         }
                     },
                     [&](std::size_t i) { done.push_back(i); }, [](std::size_t) { return false; }),
                 std::runtime_error);
    EXPECT_LE(done.size(), 7u) << "nothing after the failed item is taken";
}

// The status poll starts while the table is still being read: an item is worked before the list of
// items ends.
TEST(DeviceWorkers, AnItemIsWorkedAsSoonAsItIsAdded) {
    std::promise<void> firstWorked;
    std::vector<std::size_t> done;
    DeviceWork devices([&](std::size_t i) {
        if (i == 0) {
            firstWorked.set_value();
        }
    });
    devices.Add(false);
    ASSERT_EQ(firstWorked.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << "the first item waited for the end of the list";
    devices.Add(true);
    devices.Add(false);
    devices.Finish([&](std::size_t i) { done.push_back(i); });
    EXPECT_EQ(done, (std::vector<std::size_t>{0, 1, 2}));
}

}  // namespace
}  // namespace console
