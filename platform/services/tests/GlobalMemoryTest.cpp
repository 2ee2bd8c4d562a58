#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/services/GlobalMemory.h"

namespace {

// Sizes around every edge: zero, the smallest class, class boundaries, the largest pooled size and
// beyond it.
const std::size_t kSizes[] = {0, 1, 15, 16, 17, 31, 32, 33, 100, 256, 511, 512, 513, 4096, 100000};

// A block of `size` filled with a pattern that names its maker, and the check of it.
struct Marked {
    std::uint8_t* block;
    std::size_t size;
    std::uint8_t mark;
};

Marked MakeMarked(std::size_t size, std::uint8_t mark) {
    auto* block = static_cast<std::uint8_t*>(plat::AllocRawBlock(size));
    if (block != nullptr) {
        std::memset(block, mark, size);
    }
    return {block, size, mark};
}

bool Intact(const Marked& marked) {
    return marked.block != nullptr && std::all_of(marked.block, marked.block + marked.size,
                                                  [&](std::uint8_t b) { return b == marked.mark; });
}

TEST(GlobalMemory, BlocksOfEverySizeAreZeroedAlignedAndWritable) {
    for (const std::size_t size : kSizes) {
        SCOPED_TRACE(size);
        // Dirty a block of the size first, so that a reused block must be zeroed again.
        plat::FreeBlock(MakeMarked(size, 0xA5).block);
        auto* block = static_cast<std::uint8_t*>(plat::AllocBlock(size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        EXPECT_TRUE(std::all_of(block, block + size, [](std::uint8_t b) { return b == 0; }));
        std::memset(block, 0x5A, size);  // every byte of the size is the caller's
        plat::FreeBlock(block);
    }
    plat::FreeBlock(nullptr);
}

TEST(GlobalMemory, AFreedBlockServesTheNextOfItsSizeClass) {
    void* small = plat::AllocRawBlock(20);
    plat::FreeBlock(small);
    void* other = plat::AllocRawBlock(200);  // another class: not the freed block
    EXPECT_NE(other, small);
    void* same = plat::AllocRawBlock(30);  // the same class of 32 bytes
    EXPECT_EQ(same, small);
    plat::FreeBlock(other);
    plat::FreeBlock(same);
}

TEST(GlobalMemory, LiveBlocksNeverShareBytes) {
    std::vector<Marked> blocks;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < 300; ++i) {
            blocks.push_back(MakeMarked(kSizes[i % std::size(kSizes)] % 1024, static_cast<std::uint8_t>(i)));
        }
        // Free every other block, so that the next round reuses them between live ones.
        for (std::size_t i = 0; i < blocks.size(); i += 2) {
            ASSERT_TRUE(Intact(blocks[i]));
            plat::FreeBlock(blocks[i].block);
            blocks[i].block = nullptr;
        }
        std::erase_if(blocks, [](const Marked& m) { return m.block == nullptr; });
    }
    for (const Marked& marked : blocks) {
        EXPECT_TRUE(Intact(marked));
        plat::FreeBlock(marked.block);
    }
}

// A batch frees as one call each would, nulls included; the leak checker of the test build sees a
// block the batch skipped.
TEST(GlobalMemory, ABatchFreesEveryBlockInIt) {
    std::vector<void*> blocks = {nullptr};
    for (const std::size_t size : kSizes) {
        blocks.push_back(plat::AllocBlock(size));
        blocks.push_back(nullptr);
    }
    blocks.push_back(plat::AllocRawBlock(24));
    void* const last = blocks.back();
    plat::FreeBlocks(blocks.data(), blocks.size());
    plat::FreeBlocks(nullptr, 0);
    void* reused = plat::AllocRawBlock(24);
    EXPECT_EQ(reused, last);
    plat::FreeBlock(reused);
}

TEST(GlobalMemory, BlocksOutliveTheThreadThatMadeThem) {
    std::vector<Marked> blocks;
    std::thread maker([&] {
        for (std::size_t i = 0; i < 200; ++i) {
            blocks.push_back(MakeMarked(kSizes[(i + 1) % std::size(kSizes)], 0x3C));
        }
        // Some freed here as well, so that the ending thread has a cache to empty.
        for (int i = 0; i < 50; ++i) {
            plat::FreeBlock(blocks.back().block);
            blocks.pop_back();
        }
    });
    maker.join();
    // Made there, freed on a thread of its own (so with room in its cache), reused there: its next
    // block of the size of the last one freed is that one.
    std::thread freer([&] {
        for (const Marked& marked : blocks) {
            EXPECT_TRUE(Intact(marked));
            plat::FreeBlock(marked.block);
        }
        void* reused = plat::AllocRawBlock(blocks.back().size);
        EXPECT_EQ(reused, blocks.back().block);
        plat::FreeBlock(reused);
    });
    freer.join();
}

// Threads that make blocks and threads that free them, through one queue, all at once.
TEST(GlobalMemory, BlocksFreedOnOtherThreadsWhileAllAreBusy) {
    constexpr int kThreadsEachSide = 4;
    constexpr int kBlocksEach = 5000;
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<Marked> queue;
    int makersLeft = kThreadsEachSide;
    int damaged = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreadsEachSide; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kBlocksEach; ++i) {
                Marked marked =
                    MakeMarked(static_cast<std::size_t>(1 + (i * 37) % 600), static_cast<std::uint8_t>(t));
                plat::FreeBlock(plat::AllocBlock(static_cast<std::size_t>(i % 64)));  // own blocks too
                std::lock_guard lock(mutex);
                queue.push_back(marked);
                ready.notify_one();
            }
            std::lock_guard lock(mutex);
            --makersLeft;
            ready.notify_all();
        });
        threads.emplace_back([&] {
            for (;;) {
                std::unique_lock lock(mutex);
                ready.wait(lock, [&] { return !queue.empty() || makersLeft == 0; });
                if (queue.empty()) {
                    return;
                }
                const Marked marked = queue.front();
                queue.pop_front();
                lock.unlock();
                if (!Intact(marked)) {
                    std::lock_guard count(mutex);
                    ++damaged;
                }
                plat::FreeBlock(marked.block);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(damaged, 0);
    EXPECT_TRUE(queue.empty());
}

// A thread-local made before the thread's first block is destroyed after the thread's cache is
// emptied; what it frees then goes straight back (the leak checker of the test build sees a loss).
TEST(GlobalMemory, BlocksFreedWhileTheirThreadEnds) {
    struct FreesAtThreadEnd {
        void* block = nullptr;
        ~FreesAtThreadEnd() { plat::FreeBlock(block); }
    };
    std::thread thread([] {
        static thread_local FreesAtThreadEnd late;
        late.block = plat::AllocRawBlock(24);
        plat::FreeBlock(plat::AllocRawBlock(24));  // the cache holds a block when the thread ends
        void* again = plat::AllocRawBlock(24);
        std::memset(again, 1, 24);
        plat::FreeBlock(again);
    });
    thread.join();
}

void FreeOneBlockTwiceInABatch() {
    void* block = plat::AllocRawBlock(24);
    void* twice[] = {block, nullptr, block};
    plat::FreeBlocks(twice, std::size(twice));
}

TEST(GlobalMemoryDeathTest, ABlockFreedTwiceStopsTheProcess) {
    for (const std::size_t size : {std::size_t{24}, std::size_t{5000}}) {
        EXPECT_DEATH(
            {
                void* block = plat::AllocRawBlock(size);
                plat::FreeBlock(block);
                plat::FreeBlock(block);
            },
            "freed twice|double free|use-after-free");
    }
    EXPECT_DEATH(FreeOneBlockTwiceInABatch(), "freed twice");
}

#if defined(__SANITIZE_ADDRESS__)
// The pool keeps what AddressSanitizer catches: use after free, and bytes past a block's size.
TEST(GlobalMemoryDeathTest, PooledBlocksStillShowMisuseToTheSanitizer) {
    EXPECT_DEATH(
        {
            auto* block = static_cast<volatile char*>(plat::AllocRawBlock(20));
            plat::FreeBlock(const_cast<char*>(block));
            (void)block[0];
        },
        "use-after-poison");
    EXPECT_DEATH(
        {
            auto* block = static_cast<volatile char*>(plat::AllocRawBlock(20));
            (void)block[20];
        },
        "use-after-poison");
}
#endif

}  // namespace
