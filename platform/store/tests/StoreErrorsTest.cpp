#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreErrors = StoreTestKey;

struct ErrorCase {
    const char* what;
    std::function<StoreResult()> call;
    StoreResult expected;
};

TEST_F(StoreErrors, EachMisuseGetsItsOwnAnswer) {
    StoreKey closed = 0;
    ASSERT_EQ(StoreOpenKey(key_, nullptr, kStoreRead, &closed), kStoreOk);
    ASSERT_EQ(StoreCloseKey(closed), kStoreOk);
    StoreKey empty = 0;
    ASSERT_EQ(StoreCreateKey(key_, "Empty", &empty), kStoreOk);
    SetNumber(key_, "Number", 1);

    const std::uint32_t number = 1;
    const std::string longKeyName(256, 'k');
    const std::string longValueName(16384, 'v');
    StoreKey out = 0;
    char name[32];
    std::uint32_t nameSize = sizeof name;
    char data[8];
    std::uint32_t type = 0;
    const std::vector<ErrorCase> cases = {
        {"query through handle 0", [&] { return StoreQueryValue(0, "Number", nullptr, nullptr, nullptr); },
         kStoreInvalidHandle},
        {"query through a handle never given",
         [&] { return StoreQueryValue(0x1234567, "Number", nullptr, nullptr, nullptr); },
         kStoreInvalidHandle},
        {"query through a closed handle",
         [&] { return StoreQueryValue(closed, "Number", nullptr, nullptr, nullptr); }, kStoreInvalidHandle},
        {"set through a closed handle",
         [&] { return StoreSetValue(closed, "Number", kStoreValueNumber, &number, 4); }, kStoreInvalidHandle},
        {"open under a closed handle", [&] { return StoreOpenKey(closed, nullptr, kStoreRead, &out); },
         kStoreInvalidHandle},
        {"create under a closed handle", [&] { return StoreCreateKey(closed, "X", &out); },
         kStoreInvalidHandle},
        {"enumerate a closed handle", [&] { return StoreEnumKey(closed, 0, name, &nameSize); },
         kStoreInvalidHandle},
        {"delete under a closed handle", [&] { return StoreDeleteKey(closed, "X"); }, kStoreInvalidHandle},
        {"flush a closed handle", [&] { return StoreFlushKey(closed); }, kStoreInvalidHandle},
        {"close a closed handle", [&] { return StoreCloseKey(closed); }, kStoreInvalidHandle},
        {"close handle 0", [&] { return StoreCloseKey(0); }, kStoreInvalidHandle},
        {"close the root", [&] { return StoreCloseKey(kStoreLocalMachine); }, kStoreOk},
        {"flush an open key", [&] { return StoreFlushKey(key_); }, kStoreOk},

        {"open without a result", [&] { return StoreOpenKey(key_, nullptr, kStoreRead, nullptr); },
         kStoreInvalidParameter},
        {"open with an unknown access",
         [&] { return StoreOpenKey(key_, nullptr, static_cast<StoreAccess>(2), &out); },
         kStoreInvalidParameter},
        {"create without a result", [&] { return StoreCreateKey(key_, "X", nullptr); },
         kStoreInvalidParameter},
        {"an empty name inside a path", [&] { return StoreCreateKey(key_, "A\\\\B", &out); },
         kStoreInvalidParameter},
        {"a leading backslash", [&] { return StoreOpenKey(key_, "\\Empty", kStoreRead, &out); },
         kStoreInvalidParameter},
        {"a trailing backslash", [&] { return StoreOpenKey(key_, "Empty\\", kStoreRead, &out); },
         kStoreInvalidParameter},
        {"a key name too long", [&] { return StoreCreateKey(key_, longKeyName.c_str(), &out); },
         kStoreInvalidParameter},
        {"a value name too long",
         [&] { return StoreSetValue(key_, longValueName.c_str(), kStoreValueNumber, &number, 4); },
         kStoreInvalidParameter},
        {"query data without a size", [&] { return StoreQueryValue(key_, "Number", &type, data, nullptr); },
         kStoreInvalidParameter},
        {"set a number of 3 bytes",
         [&] { return StoreSetValue(key_, "Number", kStoreValueNumber, &number, 3); },
         kStoreInvalidParameter},
        {"set an unknown type",
         [&] { return StoreSetValue(key_, "Number", static_cast<StoreValueType>(2), &number, 4); },
         kStoreInvalidParameter},
        {"set missing data", [&] { return StoreSetValue(key_, "Number", kStoreValueBytes, nullptr, 4); },
         kStoreInvalidParameter},
        {"set a huge value",
         [&] { return StoreSetValue(key_, "Number", kStoreValueBytes, data, 0x7FFFFFFF); },
         kStoreInvalidParameter},
        {"enumerate keys without a name buffer", [&] { return StoreEnumKey(key_, 0, nullptr, &nameSize); },
         kStoreInvalidParameter},
        {"enumerate keys without a name size", [&] { return StoreEnumKey(key_, 0, name, nullptr); },
         kStoreInvalidParameter},
        {"enumerate values with data but no size",
         [&] { return StoreEnumValue(key_, 0, name, &nameSize, &type, data, nullptr); },
         kStoreInvalidParameter},
        {"delete the key itself", [&] { return StoreDeleteKey(key_, ""); }, kStoreInvalidParameter},
        {"delete with no subkey", [&] { return StoreDeleteKey(key_, nullptr); }, kStoreInvalidParameter},

        {"open a missing key", [&] { return StoreOpenKey(key_, "Missing", kStoreRead, &out); },
         kStoreNotFound},
        {"query a missing value", [&] { return StoreQueryValue(key_, "Missing", &type, nullptr, nullptr); },
         kStoreNotFound},
        {"delete a missing value", [&] { return StoreDeleteValue(key_, "Missing"); }, kStoreNotFound},
        {"delete a missing key", [&] { return StoreDeleteKey(key_, "Missing\\Deeper"); }, kStoreNotFound},
        {"enumerate an empty key's subkeys", [&] { return StoreEnumKey(empty, 0, name, &nameSize); },
         kStoreNoMoreItems},
        {"enumerate an empty key's values",
         [&] { return StoreEnumValue(empty, 0, name, &nameSize, nullptr, nullptr, nullptr); },
         kStoreNoMoreItems},
        {"enumerate far past the end", [&] { return StoreEnumKey(key_, 0xFFFFFFFF, name, &nameSize); },
         kStoreNoMoreItems},
    };
    for (const ErrorCase& c : cases) {
        nameSize = sizeof name;
        EXPECT_EQ(c.call(), c.expected) << c.what;
    }
    EXPECT_EQ(Number(key_, "Number"), 1u);
    StoreCloseKey(empty);
}

}  // namespace
