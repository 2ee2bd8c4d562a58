#include <gtest/gtest.h>

#include <cstring>

#include "confighelper/RegistryValue.h"

namespace {

constexpr const char* kKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\Test";

TEST(RegistryValue, TextIsStoredTerminatedWithoutTouchingTheCallersBytes) {
    char text[] = "abcde";
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, kKey, "Text", text, 5, plat::kStoreValueText), 0);
    EXPECT_STREQ(text, "abcde");

    char read[16] = "xxxxxxxxxxxxxxx";
    std::uint32_t size = sizeof read;
    ASSERT_EQ(ReadRegistryValue(plat::kStoreLocalMachine, kKey, "Text", read, &size), 0);
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ(read, "abcd");
}

TEST(RegistryValue, NumberKeepsItsTopByte) {
    const std::uint32_t number = 0x12345678u;
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, kKey, "Number", &number, sizeof number,
                                 plat::kStoreValueNumber),
              0);
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    ASSERT_EQ(ReadRegistryValue(plat::kStoreLocalMachine, kKey, "Number", &value, &size), 0);
    EXPECT_EQ(value, 0x12345678u);
}

TEST(RegistryValue, MissingKeyValueOrSmallBufferFail) {
    char buffer[4];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(ReadRegistryValue(plat::kStoreLocalMachine, "Software\\NoSuchKey", "x", buffer, &size),
              kHelperStoreFailed);
    size = sizeof buffer;
    EXPECT_EQ(ReadRegistryValue(plat::kStoreLocalMachine, kKey, "NoSuchValue", buffer, &size),
              kHelperStoreFailed);

    const char longText[] = "longer than four";
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, kKey, "Long", longText, sizeof longText,
                                 plat::kStoreValueText),
              0);
    size = sizeof buffer;
    EXPECT_EQ(ReadRegistryValue(plat::kStoreLocalMachine, kKey, "Long", buffer, &size), kHelperStoreFailed);
}

}  // namespace
