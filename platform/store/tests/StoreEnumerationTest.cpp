#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/store/ConfigStore.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreEnumeration = StoreTestKey;

// Subkeys or values, enumerated and deleted through one face.
struct EntryKind {
    const char* what;
    std::function<void(StoreKey, const std::string&)> make;
    std::function<StoreResult(StoreKey, std::uint32_t, char*, std::uint32_t*)> at;
    std::function<StoreResult(StoreKey, const std::string&)> remove;
};

const std::vector<EntryKind>& Kinds() {
    static const std::vector<EntryKind> kinds = {
        {"subkeys",
         [](StoreKey key, const std::string& name) {
             StoreKey made = 0;
             ASSERT_EQ(StoreCreateKey(key, name.c_str(), &made), kStoreOk);
             StoreCloseKey(made);
         },
         [](StoreKey key, std::uint32_t index, char* name, std::uint32_t* size) {
             return StoreEnumKey(key, index, name, size);
         },
         [](StoreKey key, const std::string& name) { return StoreDeleteKey(key, name.c_str()); }},
        {"values",
         [](StoreKey key, const std::string& name) {
             const std::uint32_t category = 2;
             ASSERT_EQ(StoreSetValue(key, name.c_str(), kStoreValueNumber, &category, 4), kStoreOk);
         },
         [](StoreKey key, std::uint32_t index, char* name, std::uint32_t* size) {
             return StoreEnumValue(key, index, name, size, nullptr, nullptr, nullptr);
         },
         [](StoreKey key, const std::string& name) { return StoreDeleteValue(key, name.c_str()); }},
    };
    return kinds;
}

// Names made out of order and in mixed case, as adapter names and value names come.
const std::vector<std::string> kNames = {"0000C0AA0003", "0000c0aa0001", "Category", "cProtocols",
                                         "0000C0AA0002", "dns Name",     "DETECTED", "0000C0aa0000"};

std::vector<std::string> InStoreOrder() {
    std::vector<std::string> names = kNames;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    });
    return names;
}

// Reads every entry by index, deleting those `doomed` picks and stepping the index back after each.
std::vector<std::string> Sweep(const EntryKind& kind, StoreKey key,
                               const std::function<bool(std::size_t, const std::string&)>& doomed) {
    std::vector<std::string> visited;
    char name[64];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = sizeof name;
        const StoreResult result = kind.at(key, index, name, &size);
        if (result != kStoreOk) {
            EXPECT_EQ(result, kStoreNoMoreItems);
            break;
        }
        visited.emplace_back(name, size);
        if (doomed(visited.size() - 1, visited.back())) {
            EXPECT_EQ(kind.remove(key, visited.back()), kStoreOk);
            --index;
        }
    }
    return visited;
}

struct SweepCase {
    const char* what;
    std::function<bool(std::size_t, const std::string&)> doomed;
};

TEST_F(StoreEnumeration, DeletingTheEntryJustReadAndSteppingBackVisitsEveryEntryOnce) {
    const std::vector<SweepCase> sweeps = {
        {"delete none", [](std::size_t, const std::string&) { return false; }},
        {"delete all", [](std::size_t, const std::string&) { return true; }},
        {"delete every other", [](std::size_t seen, const std::string&) { return seen % 2 == 0; }},
        {"delete adapters only",
         [](std::size_t, const std::string& name) { return name.starts_with("0000"); }},
        {"delete the last only",
         [](std::size_t seen, const std::string&) { return seen == kNames.size() - 1; }},
    };
    for (const EntryKind& kind : Kinds()) {
        for (const SweepCase& sweep : sweeps) {
            SCOPED_TRACE(std::string(kind.what) + ", " + sweep.what);
            for (const std::string& name : kNames) {
                kind.make(key_, name);
            }
            const std::vector<std::string> visited = Sweep(kind, key_, sweep.doomed);
            EXPECT_EQ(visited, InStoreOrder());

            std::vector<std::string> kept;
            for (std::size_t i = 0; i < visited.size(); ++i) {
                if (!sweep.doomed(i, visited[i])) {
                    kept.push_back(visited[i]);
                }
            }
            const std::vector<std::string> left = Sweep(kind, key_, [](std::size_t, const std::string&) {
                return true;  // also empties the key for the next case
            });
            EXPECT_EQ(left, kept);
        }
    }
}

// All names at once come in the order the enumeration by index gives them; a key deleted meanwhile
// has none.
TEST_F(StoreEnumeration, SubkeyNamesAtOnceInStoreOrder) {
    std::vector<std::string> names = {"left over"};
    ASSERT_EQ(StoreSubkeyNames(key_, &names), kStoreOk);
    EXPECT_TRUE(names.empty());
    for (const std::string& name : kNames) {
        Kinds()[0].make(key_, name);
    }
    ASSERT_EQ(StoreSubkeyNames(key_, &names), kStoreOk);
    EXPECT_EQ(names, InStoreOrder());

    StoreKey child = 0;
    ASSERT_EQ(StoreOpenKey(key_, "DETECTED", kStoreRead, &child), kStoreOk);
    ASSERT_EQ(StoreDeleteKey(key_, "DETECTED"), kStoreOk);
    EXPECT_EQ(StoreSubkeyNames(child, &names), kStoreNotFound);
    EXPECT_EQ(StoreSubkeyNames(child, nullptr), kStoreInvalidParameter);
    StoreCloseKey(child);
}

TEST_F(StoreEnumeration, ValuesComeWithTypeAndData) {
    SetText(key_, "IP Address", "10.0.0.1");
    SetNumber(key_, "Category", 6);
    char name[32];
    std::uint32_t nameSize = sizeof name;
    std::uint32_t type = 0;
    char data[32];
    std::uint32_t size = sizeof data;
    ASSERT_EQ(StoreEnumValue(key_, 1, name, &nameSize, &type, data, &size), kStoreOk);
    EXPECT_EQ(std::string(name, nameSize), "IP Address");
    EXPECT_EQ(type, kStoreValueText);
    EXPECT_EQ(std::string(data, size), std::string("10.0.0.1", 9));
}

TEST_F(StoreEnumeration, TooSmallBuffersCopyNothingAndReportTheSizes) {
    StoreKey made = 0;
    ASSERT_EQ(StoreCreateKey(key_, "0000C0123456", &made), kStoreOk);
    StoreCloseKey(made);
    SetText(key_, "Print Server Name", "Printer");  // 8 bytes

    std::string name(12, '#');
    std::uint32_t nameSize = 12;  // no room for the terminator
    EXPECT_EQ(StoreEnumKey(key_, 0, name.data(), &nameSize), kStoreMoreData);
    EXPECT_EQ(nameSize, 12u);
    EXPECT_EQ(name, std::string(12, '#'));
    nameSize = 13;
    name.resize(13);
    ASSERT_EQ(StoreEnumKey(key_, 0, name.data(), &nameSize), kStoreOk);
    EXPECT_STREQ(name.c_str(), "0000C0123456");

    std::string valueName(17, '#');
    nameSize = 17;
    std::uint32_t type = 0;
    std::string data(8, '#');
    std::uint32_t size = 8;
    EXPECT_EQ(StoreEnumValue(key_, 0, valueName.data(), &nameSize, &type, data.data(), &size),
              kStoreMoreData);
    EXPECT_EQ(nameSize, 17u);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(valueName, std::string(17, '#'));
    EXPECT_EQ(data, std::string(8, '#'));

    valueName.resize(18);
    nameSize = 18;
    size = 7;
    EXPECT_EQ(StoreEnumValue(key_, 0, valueName.data(), &nameSize, &type, data.data(), &size),
              kStoreMoreData);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(valueName.substr(0, 17), std::string(17, '#'));
    EXPECT_EQ(data, std::string(8, '#'));

    EXPECT_EQ(StoreEnumKey(key_, 1, name.data(), &nameSize), kStoreNoMoreItems);
    EXPECT_EQ(StoreEnumValue(key_, 1, name.data(), &nameSize, nullptr, nullptr, nullptr), kStoreNoMoreItems);
}

// Subkeys with all their values, read in steps: each step takes up where the last one ended, and
// together they give every subkey once, in store order, each with its values by name.
TEST_F(StoreEnumeration, SubkeysWithTheirValuesInSteps) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        StoreKey child = 0;
        ASSERT_EQ(StoreCreateKey(key_, kNames[i].c_str(), &child), kStoreOk);
        SetNumber(child, "Category", static_cast<std::uint32_t>(i));
        SetText(child, "IP Address", kNames[i]);
        StoreCloseKey(child);
    }
    StoreKey bare = 0;
    ASSERT_EQ(StoreCreateKey(key_, "ZZ without values", &bare), kStoreOk);
    StoreCloseKey(bare);
    std::vector<std::string> expected = InStoreOrder();
    expected.push_back("ZZ without values");

    for (const std::uint32_t step : {1u, 3u, 100u}) {
        SCOPED_TRACE("steps of " + std::to_string(step));
        std::vector<std::string> seen;
        std::string after;
        for (std::vector<StoreSubkeyValues> subkeys; seen.size() <= expected.size();) {
            ASSERT_EQ(StoreReadSubkeys(key_, after.c_str(), step, &subkeys), kStoreOk);
            for (const StoreSubkeyValues& subkey : subkeys) {
                seen.push_back(subkey.name);
                const StoreSubkeyReader values(subkey);
                const auto made = std::find(kNames.begin(), kNames.end(), subkey.name);
                if (made == kNames.end()) {
                    EXPECT_TRUE(subkey.values.empty()) << subkey.name;
                    continue;
                }
                ASSERT_EQ(subkey.values.size(), 2u) << subkey.name;
                EXPECT_EQ(subkey.values[0].first, "Category") << "values in name order";
                EXPECT_EQ(values.ReadNumber("CATEGORY"), made - kNames.begin());
                EXPECT_EQ(values.ReadText("ip address"), subkey.name);
                EXPECT_EQ(values.ReadText("Category"), std::nullopt) << "a number is no text";
                EXPECT_EQ(values.ReadNumber("DNS Name"), std::nullopt);
            }
            if (subkeys.size() < step) {
                break;
            }
            after = subkeys.back().name;
        }
        EXPECT_EQ(seen, expected);
    }

    std::vector<StoreSubkeyValues> subkeys;
    EXPECT_EQ(StoreReadSubkeys(key_, nullptr, 1, &subkeys), kStoreInvalidParameter);
    EXPECT_EQ(StoreReadSubkeys(key_, "", 1, nullptr), kStoreInvalidParameter);
    StoreKey child = 0;
    ASSERT_EQ(StoreOpenKey(key_, "DETECTED", kStoreRead, &child), kStoreOk);
    ASSERT_EQ(StoreDeleteKey(key_, "DETECTED"), kStoreOk);
    EXPECT_EQ(StoreReadSubkeys(child, "", 1, &subkeys), kStoreNotFound);
    StoreCloseKey(child);
}

}  // namespace
