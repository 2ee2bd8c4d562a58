#include <gtest/gtest.h>

#include <string>

#include "platform/store/StoreBatch.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreBatchTest = StoreTestKey;

// Every kind of write, transactions of their own included (creating keys, adding to a number), is
// part of a batch and is there when it ends; batches do not nest.
TEST_F(StoreBatchTest, WritesOfEveryKindAreKeptAndBatchesDoNotNest) {
    {
        StoreBatch batch;
        EXPECT_EQ(StoreBeginBatch(), kStoreInvalidParameter);
        for (int i = 0; i < 100; ++i) {
            StoreKey entry = 0;
            const std::string name = "Entry" + std::to_string(i);
            ASSERT_EQ(StoreCreateKey(key_, name.c_str(), &entry), kStoreOk);
            SetNumber(entry, "Number", static_cast<std::uint32_t>(i));
            ASSERT_EQ(StoreAddToNumber(key_, "Total", 1, nullptr), kStoreOk);
            StoreCloseKey(entry);
        }
        ASSERT_EQ(StoreDeleteKey(key_, "Entry7"), kStoreOk);
    }
    EXPECT_EQ(StoreEndBatch(), kStoreInvalidParameter) << "no batch is open";
    EXPECT_EQ(Number(key_, "Total"), 100u);
    for (int i = 0; i < 100; ++i) {
        StoreKey entry = 0;
        const std::string name = "Entry" + std::to_string(i);
        const StoreResult opened = StoreOpenKey(key_, name.c_str(), kStoreRead, &entry);
        if (i == 7) {
            EXPECT_EQ(opened, kStoreNotFound);
            continue;
        }
        ASSERT_EQ(opened, kStoreOk) << name;
        EXPECT_EQ(Number(entry, "Number"), static_cast<std::uint32_t>(i));
        StoreCloseKey(entry);
    }
}

// A batch that only read leaves the change count where it was, so that what it read stays kept; one
// that wrote moves it on.
TEST_F(StoreBatchTest, OnlyABatchThatWroteCountsAsAChange) {
    SetNumber(key_, "Number", 1);
    const std::optional<std::uint64_t> before = StoreChangeCount();
    ASSERT_TRUE(before);
    {
        StoreBatch batch;
        EXPECT_EQ(Number(key_, "Number"), 1u);
    }
    EXPECT_EQ(StoreChangeCount(), before);
    {
        StoreBatch batch;
        SetNumber(key_, "Number", 2);
    }
    const std::optional<std::uint64_t> after = StoreChangeCount();
    ASSERT_TRUE(after);
    EXPECT_GT(*after, *before);
    EXPECT_EQ(Number(key_, "Number"), 2u);
}

}  // namespace
