#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/store/ConfigStore.h"
#include "transport/DeviceStorePath.h"
#include "transport/DeviceStoreReader.h"
#include "transport/tests/DeviceStoreFixture.h"

namespace {

using DeviceStoreReader = DeviceStoreFixture;

TEST_F(DeviceStoreReader, ReadsProtocolsAndAddresses) {
    WriteEntry("0011223344AA",
               {.protocols = 7, .preferred = 2, .ip = "10.1.2.3", .ipx = "0000000100A0B1C2D3E4"});
    DeviceRecord record;
    std::strcpy(record.printServerName, "kept");
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_EQ(record.protocolMask, 7);
    EXPECT_EQ(record.preferredProtocol, 2);
    EXPECT_STREQ(record.ipAddress, "10.1.2.3");
    EXPECT_STREQ(record.ipxAddress, "0000000100A0B1C2D3E4");
    EXPECT_STREQ(record.macAddress, "0011223344AA");
    EXPECT_STREQ(record.printServerName, "kept");
}

TEST_F(DeviceStoreReader, MissingPreferredProtocolTakesTheMask) {
    WriteEntry("0011223344AA", {.protocols = 7, .preferred = std::nullopt});
    DeviceRecord record;
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_EQ(record.preferredProtocol, 7);
}

TEST_F(DeviceStoreReader, MissingIpAddressStillSucceedsAndKeepsTheField) {
    WriteEntry("0011223344AA", {.protocols = 4, .preferred = 4, .ip = std::nullopt});
    DeviceRecord record;
    std::strcpy(record.ipAddress, "earlier");
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_STREQ(record.ipAddress, "earlier");
}

TEST_F(DeviceStoreReader, MissingMacAddressFailsAfterReadingTheRest) {
    WriteEntry("0011223344AA", {.protocols = 2, .preferred = 2, .ip = "10.0.0.9", .mac = std::nullopt});
    DeviceRecord record;
    EXPECT_EQ(HelperGetRegNPCDetails("0011223344AA", record), kDeviceStoreFailed);
    EXPECT_STREQ(record.ipAddress, "10.0.0.9");
}

TEST_F(DeviceStoreReader, TextsThatDoNotFitAreNotRead) {
    const std::string tooLong(22, '1');
    const std::string longest(21, '2');
    WriteEntry("0011223344AA", {.ip = tooLong, .ipx = longest});
    DeviceRecord record;
    std::strcpy(record.ipAddress, "earlier");
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_STREQ(record.ipAddress, "earlier");
    EXPECT_EQ(record.ipxAddress, longest);

    WriteEntry("0011223344BB", {.mac = tooLong});
    EXPECT_EQ(HelperGetRegNPCDetails("0011223344BB", record), kDeviceStoreFailed);
}

TEST_F(DeviceStoreReader, TextStoredWithoutTerminatorIsTerminated) {
    WriteEntry("0011223344AA", {});
    SetRawValue("0011223344AA", "IP Address", plat::kStoreValueText, "10.9.8.7", 8);
    DeviceRecord record;
    std::memset(record.ipAddress, 'x', sizeof record.ipAddress);
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_STREQ(record.ipAddress, "10.9.8.7");
}

TEST_F(DeviceStoreReader, RefusesNamesThatAreNotAdapterNames) {
    // Entries under such names exist, but no path is built from them.
    for (const char* name : {"0011223344", "0011223344AAB", "00112233GG44", "0011223344AA\\Sub"}) {
        WriteEntry(name, {});
        DeviceRecord record;
        EXPECT_EQ(HelperGetRegNPCDetails(name, record), kDeviceStoreFailed) << '"' << name << '"';
    }
    DeviceRecord record;
    EXPECT_EQ(HelperGetRegNPCDetails("", record), kDeviceStoreFailed);
    EXPECT_EQ(HelperGetRegNPCDetails(nullptr, record), kDeviceStoreFailed);
}

// The thread keeps the entry it read last, but every read answers what the store holds now: another
// print server's entry, a protocol another process fell back to, an entry deleted.
TEST_F(DeviceStoreReader, EveryReadAnswersWhatTheEntryHoldsNow) {
    WriteEntry("0011223344AA", {.protocols = 7, .preferred = 2});
    WriteEntry("0011223344BB", {.protocols = 7, .preferred = 4});
    DeviceRecord record;
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344AA", record), 0);
    EXPECT_EQ(record.preferredProtocol, 2);
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344BB", record), 0);
    EXPECT_EQ(record.preferredProtocol, 4);
    EXPECT_STREQ(record.macAddress, "0011223344BB");

    const pid_t child = fork();
    if (child == 0) {
        const auto key = OpenDeviceStoreEntry("0011223344BB", plat::kStoreReadWrite);
        _exit(key && key->WriteNumber("pProtocol", 1) == plat::kStoreOk ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(HelperGetRegNPCDetails("0011223344BB", record), 0);
    EXPECT_EQ(record.preferredProtocol, 1);

    ASSERT_EQ(plat::StoreDeleteKey(plat::kStoreLocalMachine, EntryPath("0011223344BB").c_str()),
              plat::kStoreOk);
    EXPECT_EQ(HelperGetRegNPCDetails("0011223344BB", record), kDeviceStoreFailed);
}

TEST_F(DeviceStoreReader, MissingEntryFailsAndIsNotCreated) {
    DeviceRecord record;
    EXPECT_EQ(HelperGetRegNPCDetails("00000000BEEF", record), kDeviceStoreFailed);
    plat::StoreKey key = 0;
    EXPECT_NE(plat::StoreOpenKey(plat::kStoreLocalMachine, DeviceStoreEntryPath("00000000BEEF").c_str(),
                                 plat::kStoreRead, &key),
              plat::kStoreOk);
}

}  // namespace
