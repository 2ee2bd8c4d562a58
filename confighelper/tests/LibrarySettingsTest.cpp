#include <gtest/gtest.h>

#include "confighelper/LibrarySettings.h"
#include "confighelper/RegistryPaths.h"
#include "confighelper/RegistryValue.h"

namespace {

TEST(LibrarySettings, MissingValuesTakeTheDefaultsOfTheMoment) {
    plat::StoreDeleteKey(plat::kStoreLocalMachine, kSnmpKey);
    LoadLibrarySettings(kLoadDefaults);
    EXPECT_EQ(CurrentSettings().udpTimeOutInterval, 1u);
    EXPECT_EQ(CurrentSettings().udpTotalRetries, 1u);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 4u);
    LoadLibrarySettings(kInitializeDefaults);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 1u);
}

TEST(LibrarySettings, StoredValuesWinAndRetriesAreNeverZero) {
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, kSnmpKey, "UdpTimeOutInterval", 7), 0);
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, kSnmpKey, "UdpTotalRetries", 0), 0);
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, kSnmpKey, "AutoDetectTimeout", 3), 0);
    LoadLibrarySettings(kLoadDefaults);
    EXPECT_EQ(CurrentSettings().udpTimeOutInterval, 7u);
    EXPECT_EQ(CurrentSettings().udpTotalRetries, 1u);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 3u);
}

}  // namespace
