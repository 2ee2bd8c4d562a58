#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/store/ConfigStore.h"

// Each test works in a fresh key of its own, Software\VorlaneTest\<test name>, removed afterwards.
class StoreTestKey : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = std::string("Software\\VorlaneTest\\") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        plat::StoreDeleteKey(plat::kStoreLocalMachine, path_.c_str());
        ASSERT_EQ(plat::StoreCreateKey(plat::kStoreLocalMachine, path_.c_str(), &key_), plat::kStoreOk);
    }
    void TearDown() override {
        plat::StoreCloseKey(key_);
        plat::StoreDeleteKey(plat::kStoreLocalMachine, path_.c_str());
    }

    static void SetNumber(plat::StoreKey key, const char* name, std::uint32_t number) {
        ASSERT_EQ(plat::StoreSetValue(key, name, plat::kStoreValueNumber, &number, sizeof number),
                  plat::kStoreOk);
    }
    // Stored the way callers store text: with its terminator.
    static void SetText(plat::StoreKey key, const char* name, const std::string& text) {
        const auto size = static_cast<std::uint32_t>(text.size() + 1);
        ASSERT_EQ(plat::StoreSetValue(key, name, plat::kStoreValueText, text.c_str(), size), plat::kStoreOk);
    }
    // The number, or ~0 when it cannot be read as one.
    static std::uint32_t Number(plat::StoreKey key, const char* name) {
        std::uint32_t type = 0;
        std::uint32_t number = 0;
        std::uint32_t size = sizeof number;
        const bool read = plat::StoreQueryValue(key, name, &type, &number, &size) == plat::kStoreOk &&
                          type == plat::kStoreValueNumber && size == sizeof number;
        return read ? number : ~0u;
    }

    std::string path_;
    plat::StoreKey key_ = 0;
};
