#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreKeys = StoreTestKey;

TEST_F(StoreKeys, CreateMakesTheMissingKeysAboveAndOpenFindsThem) {
    StoreKey created = 0;
    ASSERT_EQ(StoreCreateKey(key_, "AdapterOnly\\0000C0123456\\Deep", &created), kStoreOk);
    SetNumber(created, "Category", 6);

    StoreKey opened = 0;
    ASSERT_EQ(StoreOpenKey(key_, "AdapterOnly\\0000C0123456\\Deep", kStoreRead, &opened), kStoreOk);
    EXPECT_NE(opened, created);
    EXPECT_EQ(Number(opened, "Category"), 6u);

    StoreKey missing = 123;
    EXPECT_EQ(StoreOpenKey(key_, "AdapterOnly\\000000000000", kStoreRead, &missing), kStoreNotFound);
    EXPECT_EQ(missing, 0u);
    EXPECT_EQ(StoreCloseKey(created), kStoreOk);
    EXPECT_EQ(StoreCloseKey(opened), kStoreOk);
}

TEST_F(StoreKeys, CreateOfAnExistingKeyOpensItAndTheFullPathFromTheRootWorks) {
    StoreKey first = 0;
    ASSERT_EQ(StoreCreateKey(key_, "Snmp", &first), kStoreOk);
    SetNumber(first, "UdpTotalRetries", 3);

    StoreKey again = 0;
    const std::string full = path_ + "\\Snmp";
    ASSERT_EQ(StoreCreateKey(kStoreLocalMachine, full.c_str(), &again), kStoreOk);
    EXPECT_EQ(Number(again, "UdpTotalRetries"), 3u);
    StoreCloseKey(first);
    StoreCloseKey(again);
}

TEST_F(StoreKeys, NamesCompareWithoutRegardToCaseAndKeepTheirCase) {
    StoreKey entry = 0;
    ASSERT_EQ(StoreCreateKey(key_, "AdapterOnly\\00c0ABcd1234", &entry), kStoreOk);
    SetNumber(entry, "Category", 2);

    StoreKey sameEntry = 0;
    ASSERT_EQ(StoreCreateKey(key_, "ADAPTERONLY\\00C0abCD1234", &sameEntry), kStoreOk);
    SetNumber(sameEntry, "CATEGORY", 6);
    EXPECT_EQ(Number(entry, "category"), 6u);

    char name[64];
    std::uint32_t nameSize = sizeof name;
    ASSERT_EQ(StoreEnumKey(key_, 0, name, &nameSize), kStoreOk);
    EXPECT_STREQ(name, "AdapterOnly");
    nameSize = sizeof name;
    ASSERT_EQ(StoreEnumValue(entry, 0, name, &nameSize, nullptr, nullptr, nullptr), kStoreOk);
    EXPECT_STREQ(name, "Category");
    nameSize = sizeof name;
    EXPECT_EQ(StoreEnumValue(entry, 1, name, &nameSize, nullptr, nullptr, nullptr), kStoreNoMoreItems);

    StoreKey adapters = 0;
    ASSERT_EQ(StoreOpenKey(key_, "adapteronly", kStoreRead, &adapters), kStoreOk);
    nameSize = sizeof name;
    ASSERT_EQ(StoreEnumKey(adapters, 0, name, &nameSize), kStoreOk);
    EXPECT_STREQ(name, "00c0ABcd1234");
    for (StoreKey key : {entry, sameEntry, adapters}) {
        StoreCloseKey(key);
    }
}

TEST_F(StoreKeys, AnEmptySubkeyOpensTheSameKeyWithTheAccessAsked) {
    SetNumber(key_, "Detected", 1);
    for (const char* same : {static_cast<const char*>(nullptr), ""}) {
        StoreKey reader = 0;
        ASSERT_EQ(StoreOpenKey(key_, same, kStoreRead, &reader), kStoreOk);
        EXPECT_EQ(Number(reader, "Detected"), 1u);
        const std::uint32_t zero = 0;
        EXPECT_EQ(StoreSetValue(reader, "Detected", kStoreValueNumber, &zero, 4), kStoreAccessDenied);
        EXPECT_EQ(StoreCloseKey(reader), kStoreOk);
    }
    EXPECT_EQ(Number(key_, "Detected"), 1u);
}

TEST_F(StoreKeys, AReadOnlyHandleReadsButRefusesEveryWrite) {
    StoreKey sub = 0;
    ASSERT_EQ(StoreCreateKey(key_, "Sub", &sub), kStoreOk);
    StoreCloseKey(sub);
    SetNumber(key_, "Category", 6);

    StoreKey reader = 0;
    ASSERT_EQ(StoreOpenKey(kStoreLocalMachine, path_.c_str(), kStoreRead, &reader), kStoreOk);
    const std::uint32_t four = 4;
    StoreKey unused = 0;
    const std::vector<std::function<StoreResult()>> writes = {
        [&] { return StoreSetValue(reader, "Category", kStoreValueNumber, &four, 4); },
        [&] { return StoreAddToNumber(reader, "Category", 4, nullptr); },
        [&] { return StoreDeleteValue(reader, "Category"); },
        [&] { return StoreCreateKey(reader, "Other", &unused); },
        [&] { return StoreCreateKey(reader, "Sub", &unused); },
        [&] { return StoreDeleteKey(reader, "Sub"); },
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i](), kStoreAccessDenied) << "write " << i;
    }
    EXPECT_EQ(Number(reader, "Category"), 6u);
    StoreKey stillThere = 0;
    EXPECT_EQ(StoreOpenKey(reader, "Sub", kStoreReadWrite, &stillThere), kStoreOk);
    EXPECT_EQ(StoreOpenKey(reader, "Other", kStoreRead, &unused), kStoreNotFound);
    StoreCloseKey(stillThere);
    StoreCloseKey(reader);
}

TEST_F(StoreKeys, DeleteKeyRemovesTheWholeSubtree) {
    StoreKey deep = 0;
    ASSERT_EQ(StoreCreateKey(key_, "A\\B\\C", &deep), kStoreOk);
    SetText(deep, "Print Server Name", "Deep");
    StoreKey sibling = 0;
    ASSERT_EQ(StoreCreateKey(key_, "Sibling", &sibling), kStoreOk);
    SetNumber(sibling, "Kept", 1);

    ASSERT_EQ(StoreDeleteKey(key_, "a"), kStoreOk);
    StoreKey gone = 0;
    EXPECT_EQ(StoreOpenKey(key_, "A", kStoreRead, &gone), kStoreNotFound);
    EXPECT_EQ(StoreOpenKey(key_, "A\\B\\C", kStoreRead, &gone), kStoreNotFound);
    EXPECT_EQ(StoreDeleteKey(key_, "A"), kStoreNotFound);
    EXPECT_EQ(Number(sibling, "Kept"), 1u);

    // The same path made again starts empty: nothing of the old subtree comes back.
    StoreKey remade = 0;
    ASSERT_EQ(StoreCreateKey(key_, "A\\B\\C", &remade), kStoreOk);
    EXPECT_EQ(StoreQueryValue(remade, "Print Server Name", nullptr, nullptr, nullptr), kStoreNotFound);
    EXPECT_EQ(StoreQueryValue(deep, "Print Server Name", nullptr, nullptr, nullptr), kStoreNotFound);
    for (StoreKey key : {deep, sibling, remade}) {
        StoreCloseKey(key);
    }
}

TEST_F(StoreKeys, AHandleToAKeyDeletedThroughAnotherFailsCleanly) {
    StoreKey entry = 0;
    ASSERT_EQ(StoreCreateKey(key_, "AdapterOnly\\0000C0123456", &entry), kStoreOk);
    SetNumber(entry, "Category", 6);
    StoreKey child = 0;
    ASSERT_EQ(StoreCreateKey(entry, "Child", &child), kStoreOk);
    StoreCloseKey(child);
    ASSERT_EQ(StoreDeleteKey(key_, "AdapterOnly\\0000C0123456"), kStoreOk);

    const std::uint32_t four = 4;
    char name[32];
    std::uint32_t nameSize = sizeof name;
    StoreKey unused = 0;
    const std::vector<std::function<StoreResult()>> calls = {
        [&] { return StoreQueryValue(entry, "Category", nullptr, nullptr, nullptr); },
        [&] { return StoreSetValue(entry, "Category", kStoreValueNumber, &four, 4); },
        [&] { return StoreAddToNumber(entry, "Category", 4, nullptr); },
        [&] { return StoreAddToNumber(entry, "New", 4, nullptr); },
        [&] { return StoreDeleteValue(entry, "Category"); },
        [&] { return StoreEnumKey(entry, 0, name, &nameSize); },
        [&] { return StoreEnumValue(entry, 0, name, &nameSize, nullptr, nullptr, nullptr); },
        [&] { return StoreOpenKey(entry, nullptr, kStoreRead, &unused); },
        [&] { return StoreOpenKey(entry, "Child", kStoreRead, &unused); },
        [&] { return StoreCreateKey(entry, nullptr, &unused); },
        [&] { return StoreCreateKey(entry, "Child", &unused); },
        [&] { return StoreDeleteKey(entry, "Child"); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i](), kStoreNotFound) << "call " << i;
    }
    // Nothing was made under the deleted key, and its handle still closes.
    EXPECT_EQ(StoreOpenKey(key_, "AdapterOnly\\0000C0123456", kStoreRead, &unused), kStoreNotFound);
    EXPECT_EQ(StoreCloseKey(entry), kStoreOk);
}

}  // namespace
