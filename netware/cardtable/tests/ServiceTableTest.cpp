#include <gtest/gtest.h>

#include <string>

#include "netware/cardtable/CardServiceTable.h"
#include "netware/tests/NetWareCard.h"
#include "simulator/Simulator.h"
#include "snmp/exports/Vantorel.h"

namespace {

using nwtest::kAdapter;

class ServiceTableTest : public ::testing::Test {
  protected:
    void SetUp() override { nwtest::StartCard(cards); }

    sim::Simulator cards;
};

TEST_F(ServiceTableTest, RowsAreAddedListedChangedAndRetired) {
    const std::string adapter = kAdapter;
    char list[512];
    std::uint32_t length = sizeof list;
    std::uint32_t count = 99;
    ASSERT_EQ(NwSNMPInit(adapter.c_str(), list, &length, &count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(length, 0u);
    EXPECT_STREQ(list, "");

    ASSERT_EQ(NwSNMPAddServiceRow(adapter.c_str(), "FS1\\QUEUE1", "FS1\\PS1", 1), 0);
    ASSERT_EQ(NwSNMPAddServiceRow(adapter.c_str(), "FS1\\QUEUE2", "FS1\\PS1", 2), 0);
    length = sizeof list;
    ASSERT_EQ(NwSNMPInit(adapter.c_str(), list, &length, &count), 0);
    EXPECT_EQ(count, 2u);
    const std::string expected =
        "0010,FS1\\QUEUE1,0001,1,0007,FS1\\PS1,0001,0,0010,FS1\\QUEUE2,0001,2,0007,FS1\\PS1,0001,0";
    EXPECT_EQ(std::string(list), expected);
    EXPECT_EQ(length, expected.size());

    length = 20;
    EXPECT_EQ(NwSNMPInit(adapter.c_str(), list, &length, &count), kNwNoMemory);

    std::int32_t index = 0;
    ASSERT_EQ(NwSNMPFindServiceRow(adapter.c_str(), "fs1\\queue2", "fs1\\ps1", &index), 0);
    EXPECT_EQ(index, 2);
    ASSERT_EQ(NwSNMPChangeServiceRow(adapter.c_str(), index, 3, "TREE\\PS2.ORG"), 0);
    EXPECT_EQ(NwSNMPRemoveServiceRow(adapter.c_str(), "FS1\\QUEUE2", "TREE\\PS2.ORG", 4), kNwNoSuchRow)
        << "the mode must match";
    ASSERT_EQ(NwSNMPRemoveServiceRow(adapter.c_str(), "fs1\\queue1", "FS1\\PS1", 1), 0);
    length = sizeof list;
    ASSERT_EQ(NwSNMPInit(adapter.c_str(), list, &length, &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(std::string(list), "0010,FS1\\QUEUE2,0001,3,0012,TREE\\PS2.ORG,0001,0");

    // The first free index is taken again.
    ASSERT_EQ(NwSNMPAddServiceRow(adapter.c_str(), "FS1\\QUEUE3", "FS1\\PS1", 1), 0);
    ASSERT_EQ(NwSNMPFindServiceRow(adapter.c_str(), "FS1\\QUEUE3", "FS1\\PS1", &index), 0);
    EXPECT_EQ(index, 1);
}

TEST_F(ServiceTableTest, RowsNotValidAreLeftOut) {
    ASSERT_EQ(NwSNMPAddServiceRow(kAdapter, "FS1\\Q1", "FS1\\PS1", 1), 0);
    // A row left in creation, as a failed set-up leaves it.
    char oid[] = "1.3.6.1.4.1.32473.11.5.1.12.1.3.1.6.2";
    char value[] = "1,2";
    std::int32_t size = sizeof value;
    ASSERT_EQ(HelperSNMPTransact(kAdapter, 2, oid, sizeof oid, value, &size, 1), 0);
    char list[256];
    std::uint32_t length = sizeof list;
    std::uint32_t count = 0;
    ASSERT_EQ(NwSNMPInit(kAdapter, list, &length, &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(std::string(list), "0006,FS1\\Q1,0001,1,0007,FS1\\PS1,0001,0");
}

TEST_F(ServiceTableTest, CheckDelaysAreReadAndSet) {
    std::int32_t delay = 0;
    ASSERT_EQ(NwSNMPGetJobCheckDelay(kAdapter, &delay), 0);
    EXPECT_EQ(delay, 5);
    ASSERT_EQ(NwSNMPSetCfgCheckDelay(kAdapter, 90), 0);
    ASSERT_EQ(NwSNMPGetCfgCheckDelay(kAdapter, &delay), 0);
    EXPECT_EQ(delay, 90);
    EXPECT_NE(NwSNMPSetJobCheckDelay(kAdapter, 0), 0) << "out of the card's range";
}

}  // namespace
