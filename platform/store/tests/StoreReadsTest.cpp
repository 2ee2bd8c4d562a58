// Reads are kept between calls while nothing changes the store; every change, by this process or any
// other, is read at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/StoreBatch.h"
#include "platform/store/StoreKeptRead.h"
#include "platform/store/tests/AdderProcess.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;
namespace fs = std::filesystem;

using StoreReads = StoreTestKey;

bool Opens(const std::string& path) {
    StoreKey key = 0;
    const bool opened = StoreOpenKey(kStoreLocalMachine, path.c_str(), kStoreRead, &key) == kStoreOk;
    StoreCloseKey(key);
    return opened;
}

TEST_F(StoreReads, AnotherProcessesChangesAreReadAtOnce) {
    const std::string entry = path_ + "\\AdapterOnly\\0040AF000001";
    EXPECT_FALSE(Opens(entry));  // read twice: the second answer may be a kept one
    EXPECT_FALSE(Opens(entry));
    AdderProcess adder(entry, 3, "");
    ASSERT_TRUE(adder.Started());
    adder.Open();
    ASSERT_TRUE(adder.Ready());  // it has made the key
    ASSERT_TRUE(Opens(entry));

    StoreKey key = 0;
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, entry.c_str(), kStoreRead, &key), kStoreOk);
    EXPECT_EQ(Number(key, "Category"), ~0u);
    EXPECT_EQ(Number(key, "category"), ~0u);
    int exitCode = -1;
    EXPECT_EQ(adder.Finish(&exitCode), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(Number(key, "Category"), 3u);
    EXPECT_EQ(Number(key, "CATEGORY"), 3u);
    StoreCloseKey(key);
}

// Values read with their subkeys are kept for the reads through an entry's whole path that follow,
// as every read is: a change by another process is read at once all the same.
TEST_F(StoreReads, ValuesReadWithTheirSubkeysAreReadAnewAfterAnotherProcessesChange) {
    const std::string entries = path_ + "\\AdapterOnly";
    const std::string entry = entries + "\\0040AF000002";
    StoreKey key = 0;
    ASSERT_EQ(StoreCreateKey(kStoreLocalMachine, entry.c_str(), &key), kStoreOk);
    SetNumber(key, "Category", 7);
    StoreCloseKey(key);
    StoreKey parent = 0;
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, entries.c_str(), kStoreRead, &parent), kStoreOk);
    std::vector<StoreSubkeyValues> subkeys;
    ASSERT_EQ(StoreReadSubkeys(parent, "", 10, &subkeys), kStoreOk);
    ASSERT_EQ(subkeys.size(), 1u);
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, entry.c_str(), kStoreRead, &key), kStoreOk);
    EXPECT_EQ(Number(key, "Category"), 7u);

    AdderProcess adder(entry, 2, "");
    ASSERT_TRUE(adder.Started());
    adder.Open();
    ASSERT_TRUE(adder.Ready());
    int exitCode = -1;
    EXPECT_EQ(adder.Finish(&exitCode), (std::vector<std::uint32_t>{8, 9}));
    EXPECT_EQ(Number(key, "Category"), 9u);
    StoreCloseKey(key);
    ASSERT_TRUE(Opens(entry));
    ASSERT_EQ(StoreDeleteKey(kStoreLocalMachine, entry.c_str()), kStoreOk);
    EXPECT_FALSE(Opens(entry)) << "a deleted entry is not found through its kept parent";
    StoreCloseKey(parent);
}

TEST_F(StoreReads, ThisProcessesChangesAreReadAtOnce) {
    const std::string entry = path_ + "\\Entry";
    StoreKey key = 0;
    ASSERT_EQ(StoreCreateKey(kStoreLocalMachine, entry.c_str(), &key), kStoreOk);
    SetNumber(key, "pProtocol", 2);
    EXPECT_EQ(Number(key, "pProtocol"), 2u);
    SetNumber(key, "pProtocol", 4);
    EXPECT_EQ(Number(key, "pProtocol"), 4u);
    ASSERT_EQ(StoreDeleteValue(key, "PPROTOCOL"), kStoreOk);
    EXPECT_EQ(Number(key, "pProtocol"), ~0u);
    std::uint32_t added = 0;
    ASSERT_EQ(StoreAddToNumber(key, "pProtocol", 5, &added), kStoreOk);
    EXPECT_EQ(Number(key, "pProtocol"), 5u);
    StoreCloseKey(key);

    // A key deleted and made again is another key: an open finds the new one and its values only.
    ASSERT_TRUE(Opens(entry));
    ASSERT_EQ(StoreDeleteKey(kStoreLocalMachine, entry.c_str()), kStoreOk);
    EXPECT_FALSE(Opens(entry));
    ASSERT_EQ(StoreCreateKey(kStoreLocalMachine, (entry + "\\Below").c_str(), &key), kStoreOk);
    StoreCloseKey(key);
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, entry.c_str(), kStoreRead, &key), kStoreOk);
    EXPECT_EQ(Number(key, "pProtocol"), ~0u);
    StoreCloseKey(key);
}

// One end of a pipe pair between this process and a forked one: each side waits for the other's byte.
struct Turns {
    int toChild[2];
    int toParent[2];
    static void Give(int fd) {
        const char byte = 1;
        ASSERT_EQ(write(fd, &byte, 1), 1);
    }
    static bool Take(int fd) {
        char byte = 0;
        return read(fd, &byte, 1) == 1;
    }
};

// A reader that kept a value while a batch was open reads the batch's writes once it has ended.
TEST_F(StoreReads, AnotherProcessReadsABatchOnceItEnds) {
    SetNumber(key_, "pProtocol", 1);
    Turns turns{};
    ASSERT_EQ(pipe(turns.toChild), 0);
    ASSERT_EQ(pipe(turns.toParent), 0);
    const pid_t child = fork();
    if (child == 0) {
        // Reads before the batch, during it and after it, each when told to.
        std::uint32_t seen[3] = {};
        for (std::uint32_t& number : seen) {
            if (!Turns::Take(turns.toChild[0])) {
                _exit(2);
            }
            number = Number(key_, "pProtocol");
            Turns::Give(turns.toParent[1]);
        }
        _exit(seen[0] == 1 && seen[1] == 1 && seen[2] == 4 ? 0 : 1);
    }
    Turns::Give(turns.toChild[1]);
    ASSERT_TRUE(Turns::Take(turns.toParent[0]));
    {
        StoreBatch batch;
        SetNumber(key_, "pProtocol", 4);
        Turns::Give(turns.toChild[1]);
        ASSERT_TRUE(Turns::Take(turns.toParent[0]));
    }
    Turns::Give(turns.toChild[1]);
    ASSERT_TRUE(Turns::Take(turns.toParent[0]));
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the reader kept the value from before the batch";
    for (int fd : {turns.toChild[0], turns.toChild[1], turns.toParent[0], turns.toParent[1]}) {
        close(fd);
    }
}

// A kept read answers as a read would: it is made again after every change, this process's or
// another's, and after one made while it ran.
TEST_F(StoreReads, AKeptReadIsAsFreshAsARead) {
    SetNumber(key_, "pProtocol", 1);
    int reads = 0;
    auto read = [&] {
        ++reads;
        return Number(key_, "pProtocol");
    };
    StoreKeptRead<std::uint32_t> kept;
    EXPECT_EQ(kept.Get(read), 1u);
    EXPECT_EQ(kept.Get(read), 1u);
    EXPECT_EQ(reads, 1) << "kept while nothing changed";
    SetNumber(key_, "pProtocol", 2);
    EXPECT_EQ(kept.Get(read), 2u);

    const pid_t child = fork();
    if (child == 0) {
        const std::uint32_t four = 4;
        _exit(StoreSetValue(key_, "pProtocol", kStoreValueNumber, &four, sizeof four) == kStoreOk ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(kept.Get(read), 4u);

    auto readThenChange = [&] {
        const std::uint32_t before = Number(key_, "pProtocol");
        SetNumber(key_, "pProtocol", 5);
        return before;
    };
    kept.Forget();
    EXPECT_EQ(kept.Get(readThenChange), 4u);
    EXPECT_EQ(kept.Get(read), 5u);
}

// Without the shared counter (here a folder stands in its way) nothing is kept, and the store works.
TEST(StoreReadsWithoutCounter, TheStoreStillWorks) {
    const fs::path folder = fs::path(std::getenv("VORLANE_REGISTRY")).parent_path() / "uncounted";
    fs::remove_all(folder);
    fs::create_directories(folder / "registry.db-generation");
    AdderProcess adder("Software\\Vorlane", 3, (folder / "registry.db").string());
    ASSERT_TRUE(adder.Started());
    adder.Open();
    EXPECT_TRUE(adder.Ready());
    int exitCode = -1;
    EXPECT_EQ(adder.Finish(&exitCode), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(exitCode, 0);
    fs::remove_all(folder);
}

}  // namespace
