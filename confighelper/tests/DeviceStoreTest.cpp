#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "confighelper/DeviceStore.h"
#include "confighelper/RegistryValue.h"
#include "platform/store/ConfigStore.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "platform/window/Window.h"
#include "transport/DeviceStorePath.h"

namespace {

DeviceRecord Record(const char* mac, std::uint8_t category) {
    DeviceRecord record;
    std::snprintf(record.macAddress, sizeof record.macAddress, "%s", mac);
    std::snprintf(record.ipAddress, sizeof record.ipAddress, "10.0.0.7");
    std::snprintf(record.printServerName, sizeof record.printServerName, "PS-%s", mac);
    record.category = category;
    record.protocolMask = 6;
    record.preferredProtocol = 4;
    return record;
}

std::string EntryPath(const char* mac) {
    return std::string(plat::kAdapterOnlyKey) + "\\" + mac;
}

bool EntryExists(const char* mac) {
    plat::StoreKey key = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, EntryPath(mac).c_str(), plat::kStoreRead, &key) !=
        plat::kStoreOk) {
        return false;
    }
    plat::StoreCloseKey(key);
    return true;
}

std::uint32_t Number(const char* mac, const char* name) {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, EntryPath(mac).c_str());
    return key ? key->ReadNumber(name).value_or(0xDEADBEEF) : 0xDEADBEEF;
}

std::string Text(const char* mac, const char* name) {
    char text[300] = {};
    std::uint32_t size = sizeof text;
    if (ReadRegistryValue(plat::kStoreLocalMachine, EntryPath(mac).c_str(), name, text, &size) != 0) {
        return "<missing>";
    }
    return text;
}

// Every case starts from a store without AdapterOnly.
class DeviceStore : public ::testing::Test {
  protected:
    void SetUp() override { plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey); }
};

void SetNumber(const char* mac, const char* name, std::uint32_t value) {
    const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, EntryPath(mac).c_str());
    ASSERT_TRUE(key);
    ASSERT_EQ(key->WriteNumber(name, value), plat::kStoreOk);
}

void SetCategory(const char* mac, std::uint32_t category) {
    SetNumber(mac, "Category", category);
}

TEST_F(DeviceStore, StoresEveryValueOfTheRecord) {
    ASSERT_EQ(StoreDeviceRecord(Record("001122AABBCC", 2)), 0);
    EXPECT_EQ(Number("001122AABBCC", "Category"), 2u);
    EXPECT_EQ(Number("001122AABBCC", "cProtocols"), 6u);
    EXPECT_EQ(Number("001122AABBCC", "pProtocol"), 4u);
    EXPECT_EQ(Number("001122AABBCC", "Detected"), 1u);
    EXPECT_EQ(Text("001122AABBCC", "IP Address"), "10.0.0.7");
    EXPECT_EQ(Text("001122AABBCC", "IPX Address"), "");
    EXPECT_EQ(Text("001122AABBCC", "DNS Name"), "");
    EXPECT_EQ(Text("001122AABBCC", "MAC Address"), "001122AABBCC");
    EXPECT_EQ(Text("001122AABBCC", "Print Server Name"), "PS-001122AABBCC");
    EXPECT_EQ(Text("001122AABBCC", "Print Server Description"), "");
}

TEST_F(DeviceStore, ReportedCategoryReplacesTheLowBitsAndKeepsThePortCount) {
    struct Case {
        std::uint32_t before;
        std::uint8_t reported;
        std::uint32_t after;
    };
    for (const Case& c : {Case{6, 1, 5}, Case{2, 1, 1}, Case{9, 2, 10}, Case{0, 7, 3}, Case{4, 6, 6}}) {
        SetCategory("00000000000A", c.before);
        ASSERT_EQ(StoreDeviceRecord(Record("00000000000A", c.reported)), 0);
        EXPECT_EQ(Number("00000000000A", "Category"), c.after) << c.before << " with " << int{c.reported};
    }
}

TEST_F(DeviceStore, RecordWithoutAdapterNameIsNeverWritten) {
    for (const char* mac : {"", "001122AABBC", "001122AABBCCD", "00112G3344AA", "..\\Display"}) {
        EXPECT_EQ(StoreDeviceRecord(Record(mac, 2)), kHelperStoreFailed) << mac;
    }
    plat::StoreKey key = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey, plat::kStoreRead, &key) ==
        plat::kStoreOk) {
        char name[64];
        std::uint32_t size = sizeof name;
        EXPECT_NE(plat::StoreEnumKey(key, 0, name, &size), plat::kStoreOk) << name;
        plat::StoreCloseKey(key);
    }
}

TEST_F(DeviceStore, PurgeKeepsEntriesThatPortsUseAndDeletesTheRest) {
    SetCategory("000000000001", 2);   // no port, category 2: deleted
    SetCategory("000000000002", 3);   // no port, next to the first: deleted as well
    SetCategory("000000000003", 10);  // two ports: kept as 8
    SetCategory("000000000004", 0);   // no port, no category reported: deleted
    SetNumber("000000000005", "Detected", 1);
    ASSERT_EQ(StoreDeviceRecord(Record("000000000006", 2)), 0);

    PurgeDeviceStore(nullptr);

    EXPECT_FALSE(EntryExists("000000000001"));
    EXPECT_FALSE(EntryExists("000000000002"));
    EXPECT_TRUE(EntryExists("000000000003"));
    EXPECT_EQ(Number("000000000003", "Category"), 8u);
    EXPECT_EQ(Number("000000000003", "Detected"), 0u);
    EXPECT_FALSE(EntryExists("000000000004"));
    EXPECT_TRUE(EntryExists("000000000005"));  // no "Category": never deleted
    EXPECT_FALSE(EntryExists("000000000006"));
}

TEST_F(DeviceStore, PurgeWritesTheListAlsoIntoAnEmptyStore) {
    DeviceList list;
    list.Add(Record("0000000000A1", 2));
    list.Add(Record("0000000000A2", 1));
    PurgeDeviceStore(&list);
    EXPECT_EQ(Number("0000000000A1", "Category"), 2u);
    EXPECT_EQ(Number("0000000000A2", "Category"), 1u);
    EXPECT_EQ(Number("0000000000A2", "Detected"), 1u);
}

// True while the process's store calls run in a batch: batches do not nest.
bool InsideBatch() {
    if (plat::StoreBeginBatch() == plat::kStoreOk) {
        plat::StoreEndBatch();
        return false;
    }
    return true;
}

TEST_F(DeviceStore, LongRewriteLetsTheHostPaintInsideItsOneBatch) {
    // A detection of a large site rewrites thousands of entries: the host's window is painted on the
    // way, while the rewrite stays one batch, so that nothing of it is committed half done.
    SetCategory("0000000FFFFF", 2);  // no port: the purge deletes it
    DeviceList list;
    for (int i = 1; i <= 1000; ++i) {
        char mac[13];
        std::snprintf(mac, sizeof mac, "%012X", i);
        list.Add(Record(mac, 2));
    }
    int turns = 0;
    int outsideBatch = 0;
    plat::SetIdleHook([&] {
        ++turns;
        outsideBatch += InsideBatch() ? 0 : 1;
    });
    PurgeDeviceStore(&list);
    plat::SetIdleHook({});

    EXPECT_GE(turns, 10);
    EXPECT_EQ(outsideBatch, 0);
    EXPECT_FALSE(InsideBatch());
    EXPECT_FALSE(EntryExists("0000000FFFFF"));
    EXPECT_TRUE(EntryExists("000000000001"));
    EXPECT_TRUE(EntryExists("0000000003E8"));
}

TEST_F(DeviceStore, WritersAtOnceNeverTouchThePortCount) {
    // Detections and purges of several threads (as of several processes) write the reported category
    // of one entry that a port uses; the count above the low bits must stay one port throughout.
    constexpr const char* kMac = "00000000000B";
    for (int round = 0; round < 6; ++round) {
        SetCategory(kMac, 4);
        std::vector<std::thread> writers;
        for (std::uint8_t category = 0; category < 8; ++category) {
            writers.emplace_back([category] {
                for (int i = 0; i < 150; ++i) {
                    if (category == 0) {
                        PurgeDeviceStore(nullptr);
                    } else {
                        StoreDeviceRecord(Record(kMac, category % 4));
                    }
                }
            });
        }
        for (std::thread& writer : writers) {
            writer.join();
        }
        ASSERT_EQ(Number(kMac, "Category") & ~3u, 4u) << "round " << round;
    }
}

}  // namespace
