#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreValues = StoreTestKey;

struct StoredCase {
    const char* what;
    StoreValueType type;
    std::vector<std::uint8_t> data;
};

TEST_F(StoreValues, EachTypeComesBackAsStored) {
    const std::vector<StoredCase> cases = {
        {"text with its terminator", kStoreValueText, {'3', '.', '0', 0}},
        {"text stored without one", kStoreValueText, {'a', 'b'}},
        {"empty text", kStoreValueText, {0}},
        {"bytes with zeros", kStoreValueBytes, {0, 0xFF, 0, 0x7F}},
        {"no bytes", kStoreValueBytes, {}},
        {"untyped", kStoreValueNone, {1, 2, 3}},
        {"number", kStoreValueNumber, {0x78, 0x56, 0x34, 0x12}},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto size = static_cast<std::uint32_t>(c.data.size());
        ASSERT_EQ(StoreSetValue(key_, "Value", c.type, c.data.data(), size), kStoreOk);
        std::uint32_t type = 99;
        std::array<std::uint8_t, 16> buffer{};
        std::uint32_t readSize = buffer.size();
        ASSERT_EQ(StoreQueryValue(key_, "Value", &type, buffer.data(), &readSize), kStoreOk);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + readSize), c.data);
    }
    EXPECT_EQ(Number(key_, "Value"), 0x12345678u);  // little-endian
}

TEST_F(StoreValues, ATooSmallBufferCopiesNothingAndReportsTheSizeNeeded) {
    SetText(key_, "IP Address", "192.168.1.10");  // 13 bytes with the terminator
    std::array<char, 12> small;
    small.fill('#');
    std::uint32_t type = 0;
    std::uint32_t size = small.size();
    EXPECT_EQ(StoreQueryValue(key_, "IP Address", &type, small.data(), &size), kStoreMoreData);
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(type, kStoreValueText);
    EXPECT_EQ(std::string(small.data(), small.size()), std::string(12, '#'));

    size = 0;
    EXPECT_EQ(StoreQueryValue(key_, "IP Address", nullptr, nullptr, &size), kStoreOk);
    EXPECT_EQ(size, 13u);

    std::array<char, 13> exact;
    size = exact.size();
    ASSERT_EQ(StoreQueryValue(key_, "IP Address", nullptr, exact.data(), &size), kStoreOk);
    EXPECT_EQ(size, 13u);
    EXPECT_STREQ(exact.data(), "192.168.1.10");
}

TEST_F(StoreValues, SettingAgainReplacesTypeAndDataAndTheEmptyNameIsTheDefaultValue) {
    SetText(key_, nullptr, "default");
    SetNumber(key_, "", 7);
    EXPECT_EQ(Number(key_, nullptr), 7u);

    ASSERT_EQ(StoreDeleteValue(key_, nullptr), kStoreOk);
    EXPECT_EQ(StoreQueryValue(key_, "", nullptr, nullptr, nullptr), kStoreNotFound);
    EXPECT_EQ(StoreDeleteValue(key_, ""), kStoreNotFound);
}

TEST_F(StoreValues, DeleteValueRemovesOnlyThatValue) {
    SetNumber(key_, "Category", 6);
    SetNumber(key_, "Detected", 1);
    ASSERT_EQ(StoreDeleteValue(key_, "CATEGORY"), kStoreOk);
    EXPECT_EQ(StoreQueryValue(key_, "Category", nullptr, nullptr, nullptr), kStoreNotFound);
    EXPECT_EQ(Number(key_, "Detected"), 1u);
}

struct AddCase {
    const char* what;
    bool present;
    std::uint32_t before;
    std::int32_t delta;
    std::uint32_t after;
};

TEST_F(StoreValues, AddToNumberAddsAndNeverLeavesTheRangeOfTheNumber) {
    const std::vector<AddCase> cases = {
        {"missing counts as 0", false, 0, 4, 4},
        {"a port added", true, 2, 4, 6},
        {"a port removed", true, 6, -4, 2},
        {"down to zero", true, 4, -4, 0},
        {"below zero is refused", true, 3, -4, 3},
        {"past the top is refused", true, 0xFFFFFFFE, 2, 0xFFFFFFFE},
        {"up to the top", true, 0xFFFFFFFE, 1, 0xFFFFFFFF},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.what);
        StoreDeleteValue(key_, "Category");
        if (c.present) {
            SetNumber(key_, "Category", c.before);
        }
        std::uint32_t result = 12345;
        ASSERT_EQ(StoreAddToNumber(key_, "Category", c.delta, &result), kStoreOk);
        EXPECT_EQ(result, c.after);
        EXPECT_EQ(Number(key_, "Category"), c.after);
    }
    EXPECT_EQ(StoreAddToNumber(key_, "Category", 1, nullptr), kStoreOk);
}

TEST_F(StoreValues, AddToNumberRefusesAValueThatIsNotANumber) {
    SetText(key_, "Category", "6");
    std::uint32_t result = 12345;
    EXPECT_EQ(StoreAddToNumber(key_, "Category", 4, &result), kStoreInvalidParameter);
    EXPECT_EQ(result, 12345u);
    char text[8] = {};
    std::uint32_t size = sizeof text;
    ASSERT_EQ(StoreQueryValue(key_, "Category", nullptr, text, &size), kStoreOk);
    EXPECT_STREQ(text, "6");
}

// Rows changed behind the store's back, as a damaged or foreign file would hold them.
struct DamageCase {
    const char* what;
    const char* update;
};

TEST_F(StoreValues, AValueDamagedInTheFileIsRefusedNotHandedOn) {
    const std::vector<DamageCase> cases = {
        {"number of three bytes", "UPDATE store_values SET data = x'010203' WHERE name = 'Probe'"},
        {"unknown type", "UPDATE store_values SET type = 99 WHERE name = 'Probe'"},
        {"negative type", "UPDATE store_values SET type = -1 WHERE name = 'Probe'"},
        {"type as text", "UPDATE store_values SET type = 'four' WHERE name = 'Probe'"},
        {"data as text", "UPDATE store_values SET data = 'abcd' WHERE name = 'Probe'"},
        {"data too large", "UPDATE store_values SET type = 3, data = zeroblob(2000000) WHERE name = 'Probe'"},
    };
    const char* file = std::getenv("VORLANE_REGISTRY");
    ASSERT_NE(file, nullptr);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file, &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 5000);
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetNumber(key_, "Probe", 6);
        ASSERT_EQ(sqlite3_exec(db, c.update, nullptr, nullptr, nullptr), SQLITE_OK);
        std::array<std::uint8_t, 16> buffer{};
        std::uint32_t size = buffer.size();
        EXPECT_EQ(StoreQueryValue(key_, "Probe", nullptr, buffer.data(), &size), kStoreFailed);
        EXPECT_EQ(StoreQueryValue(key_, "Probe", nullptr, nullptr, &size), kStoreFailed);
        char name[16];
        std::uint32_t nameSize = sizeof name;
        EXPECT_EQ(StoreEnumValue(key_, 0, name, &nameSize, nullptr, nullptr, nullptr), kStoreFailed);
        EXPECT_EQ(StoreAddToNumber(key_, "Probe", 1, nullptr), kStoreFailed);
    }
    sqlite3_close(db);
}

TEST_F(StoreValues, ADamagedNameIsRefused) {
    SetNumber(key_, "Probe", 6);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(std::getenv("VORLANE_REGISTRY"), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 5000);
    ASSERT_EQ(
        sqlite3_exec(db, "UPDATE store_values SET name = CAST(x'41004200' AS TEXT) WHERE name = 'Probe'",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    char name[16];
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(StoreEnumValue(key_, 0, name, &nameSize, nullptr, nullptr, nullptr), kStoreFailed);
}

}  // namespace
