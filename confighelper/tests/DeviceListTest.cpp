#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "confighelper/DeviceList.h"

namespace {

DeviceRecord Record(const char* mac, std::uint8_t category = 0) {
    DeviceRecord record;
    std::snprintf(record.macAddress, sizeof record.macAddress, "%s", mac);
    record.category = category;
    return record;
}

std::vector<std::string> Macs(const DeviceList& list) {
    std::vector<std::string> macs;
    for (std::size_t i = 0; i < list.GetCount(); ++i) {
        macs.emplace_back(list.GetAt(i)->macAddress);
    }
    return macs;
}

TEST(DeviceList, UnsortedKeepsOrderOfAdditionBeyondOneBlock) {
    DeviceList list;
    for (int i = 0; i < 129; ++i) {
        char mac[13];
        std::snprintf(mac, sizeof mac, "%012d", 128 - i);
        ASSERT_TRUE(list.Add(Record(mac)));
    }
    ASSERT_EQ(list.GetCount(), 129u);
    EXPECT_STREQ(list.GetAt(0)->macAddress, "000000000128");
    EXPECT_STREQ(list.GetAt(128)->macAddress, "000000000000");
    EXPECT_EQ(list.GetAt(129), nullptr);
}

TEST(DeviceList, SortModesOrderByMacText) {
    struct Case {
        DeviceList::SortMode mode;
        std::vector<std::string> expected;
    };
    for (const Case& c :
         {Case{DeviceList::kAscending, {"A", "B", "C"}}, Case{DeviceList::kDescending, {"C", "B", "A"}},
          Case{DeviceList::kUnsorted, {"B", "A", "C"}}}) {
        DeviceList list(c.mode);
        for (const char* mac : {"B", "A", "C"}) {
            list.Add(Record(mac));
        }
        EXPECT_EQ(Macs(list), c.expected) << "mode " << c.mode;
        EXPECT_EQ(list.FindIndex("C"), c.mode == DeviceList::kDescending ? 0 : 2);
        EXPECT_EQ(list.FindIndex("D"), -1);
    }
}

TEST(DeviceList, FindByMacTakesTheLastEqualRecordAndFindIndexTheFirst) {
    DeviceList list;
    list.Add(Record("001122AABBCC", 1));
    list.Add(Record("001122AABBCD", 2));
    list.Add(Record("001122AABBCC", 3));
    ASSERT_NE(list.FindByMac("001122AABBCC"), nullptr);
    EXPECT_EQ(list.FindByMac("001122AABBCC")->category, 3);
    EXPECT_EQ(list.FindIndex("001122AABBCC"), 0);
    EXPECT_EQ(list.FindByMac("001122aabbcc"), nullptr);
}

// The look-up by MAC text follows every change of the list: removals shift the records after the one
// removed, and SetAt may give a record another MAC text.
TEST(DeviceList, FindByMacFollowsRemovalsAndChangedTexts) {
    DeviceList list;
    for (const char* mac : {"A", "B", "C", "B"}) {
        list.Add(Record(mac, static_cast<std::uint8_t>(list.GetCount())));
    }
    EXPECT_EQ(list.FindLastIndex("B"), 3);
    list.RemoveAt(3);
    EXPECT_EQ(list.FindLastIndex("B"), 1);
    list.RemoveAt(0);
    EXPECT_EQ(list.FindLastIndex("C"), 1);
    EXPECT_EQ(list.FindLastIndex("A"), -1);
    list.SetAt(1, Record("D", 9));
    EXPECT_EQ(list.FindLastIndex("C"), -1);
    ASSERT_NE(list.FindByMac("D"), nullptr);
    EXPECT_EQ(list.FindByMac("D")->category, 9);
    list.Add(Record("D", 10));
    EXPECT_EQ(list.FindByMac("D")->category, 10);
}

TEST(DeviceList, RemovalShiftsAndRefusesIndexAtCount) {
    DeviceList list;
    for (const char* mac : {"A", "B", "C"}) {
        list.Add(Record(mac));
    }
    EXPECT_FALSE(list.RemoveAt(3));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_TRUE(list.RemoveByKey("C"));
    EXPECT_FALSE(list.RemoveByKey("C"));
    EXPECT_EQ(Macs(list), std::vector<std::string>{"B"});
}

TEST(DeviceList, EmptyListFindsNothingInEveryMode) {
    for (auto mode : {DeviceList::kAscending, DeviceList::kUnsorted, DeviceList::kDescending}) {
        DeviceList list(mode);
        EXPECT_EQ(list.FindIndex("A"), -1);
        EXPECT_EQ(list.FindByKey("A"), nullptr);
    }
}

}  // namespace
