#include <gtest/gtest.h>

#include "confighelper/LibrarySettings.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

TEST(LibrarySettings, MissingValuesTakeTheDefaultsOfTheMoment) {
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kSnmpKey);
    LoadLibrarySettings(kLoadDefaults);
    EXPECT_EQ(CurrentSettings().udpTimeOutInterval, 1u);
    EXPECT_EQ(CurrentSettings().udpTotalRetries, 1u);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 4u);
    LoadLibrarySettings(kInitializeDefaults);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 1u);
}

TEST(LibrarySettings, StoredValuesWinAndRetriesAreNeverZero) {
    const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey);
    ASSERT_TRUE(key);
    ASSERT_EQ(key->WriteNumber("UdpTimeOutInterval", 7), plat::kStoreOk);
    ASSERT_EQ(key->WriteNumber("UdpTotalRetries", 0), plat::kStoreOk);
    ASSERT_EQ(key->WriteNumber("AutoDetectTimeout", 3), plat::kStoreOk);
    LoadLibrarySettings(kLoadDefaults);
    EXPECT_EQ(CurrentSettings().udpTimeOutInterval, 7u);
    EXPECT_EQ(CurrentSettings().udpTotalRetries, 1u);
    EXPECT_EQ(CurrentSettings().autoDetectTimeout, 3u);
}

}  // namespace
