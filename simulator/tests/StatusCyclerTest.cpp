#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "simulator/DescriptionFile.h"
#include "simulator/StatusCycler.h"
#include "tests/Eventually.h"

namespace sim {
namespace {

TEST(StatusCycler, ChangesEachChosenCardInTurnAtItsPace) {
    std::mutex mutex;
    std::vector<std::pair<size_t, int32_t>> changes;
    {
        StatusCycler cycler({{4, std::chrono::milliseconds(20)}}, [&](size_t card, int32_t status) {
            std::lock_guard lock(mutex);
            changes.emplace_back(card, status);
        });
        // Seven changes take 140 ms; the bound is for a loaded machine.
        testsupport::Eventually(
            [&] {
                std::lock_guard lock(mutex);
                return changes.size() >= 7;
            },
            std::chrono::seconds(30));
    }
    ASSERT_GE(changes.size(), 7u);
    const std::vector<int32_t> cycle = {3, 0, 68, 0, 1025, 0, 3};
    for (size_t i = 0; i < cycle.size(); ++i) {
        EXPECT_EQ(changes[i], std::make_pair(size_t{4}, cycle[i])) << i;
    }
}

TEST(StatusCycler, TheDescriptionChoosesTheCards) {
    std::string error;
    const std::optional<NetworkDescription> network =
        ParseDescription("card Busy status-every=30\ncard Calm\n", error);
    ASSERT_TRUE(network.has_value()) << error;
    EXPECT_EQ(network->cards[0].statusEverySeconds, 30u);
    EXPECT_EQ(network->cards[1].statusEverySeconds, 0u);
    EXPECT_FALSE(ParseDescription("card Busy status-every=0\n", error).has_value());
}

}  // namespace
}  // namespace sim
