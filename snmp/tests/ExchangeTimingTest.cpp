// The wait and rounds of an exchange, read from the store for every exchange.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/store/ConfigStore.h"
#include "platform/store/StorePaths.h"
#include "snmp/exchange/ExchangeTiming.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {
namespace {

class ExchangeTimingTest : public ::testing::Test {
  protected:
    void SetUp() override { plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kSnmpKey); }
    void TearDown() override { plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kSnmpKey); }

    static void Store(const char* name, plat::StoreValueType type, const void* data, std::uint32_t size) {
        plat::StoreKey key = 0;
        ASSERT_EQ(plat::StoreCreateKey(plat::kStoreLocalMachine, plat::kSnmpKey, &key), plat::kStoreOk);
        ASSERT_EQ(plat::StoreSetValue(key, name, type, data, size), plat::kStoreOk);
        plat::StoreCloseKey(key);
    }
    static void StoreNumber(const char* name, std::uint32_t value) {
        Store(name, plat::kStoreValueNumber, &value, sizeof value);
    }
};

TEST_F(ExchangeTimingTest, WithoutSettingsAGetWaitsFifteenSecondsForSixRounds) {
    const ExchangeTiming get = ReadExchangeTiming(kOperationGet);
    EXPECT_EQ(get.timeOutSeconds, 15u);
    EXPECT_EQ(get.retries, 5u);
    EXPECT_EQ(ReadExchangeTiming(kOperationSet).timeOutSeconds, 10u);
}

TEST_F(ExchangeTimingTest, StoredSettingsTakeEffectAtOnceButASetAlwaysWaitsTenSeconds) {
    StoreNumber("UdpTimeOutInterval", 2);
    StoreNumber("UdpTotalRetries", 0);
    for (std::int32_t operation : {kOperationGet, kOperationGetNext}) {
        const ExchangeTiming timing = ReadExchangeTiming(operation);
        EXPECT_EQ(timing.timeOutSeconds, 2u);
        EXPECT_EQ(timing.retries, 0u);
    }
    const ExchangeTiming set = ReadExchangeTiming(kOperationSet);
    EXPECT_EQ(set.timeOutSeconds, 10u);
    EXPECT_EQ(set.retries, 0u);

    StoreNumber("UdpTotalRetries", 3);
    EXPECT_EQ(ReadExchangeTiming(kOperationGet).retries, 3u) << "read anew for every exchange";
}

TEST_F(ExchangeTimingTest, AValueOfAnotherTypeTakesTheDefault) {
    Store("UdpTimeOutInterval", plat::kStoreValueText, "3", 2);
    Store("UdpTotalRetries", plat::kStoreValueBytes, "\x01\x00", 2);
    const ExchangeTiming timing = ReadExchangeTiming(kOperationGet);
    EXPECT_EQ(timing.timeOutSeconds, 15u);
    EXPECT_EQ(timing.retries, 5u);
}

}  // namespace
}  // namespace snmp
