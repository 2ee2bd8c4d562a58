#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"

namespace nwtest {

inline constexpr const char* kAdapter = "00005E107777";

// The print server card PS-NW started in the test network and entered in the device store as the
// console would find it, with short waits for the SNMP library's exchanges.
inline void StartCard(sim::Simulator& cards) {
    sim::CardDescription card;
    card.name = "PS-NW";
    card.mac = {0x00, 0x00, 0x5E, 0x10, 0x77, 0x77};
    card.ip = {127, 1, 7, 7};
    card.protocols = 2;
    cards.AddCard(card);
    std::string error;
    ASSERT_TRUE(cards.Start(error)) << error;
    const auto entry = plat::StoreKeyHandle::Create(
        plat::kStoreLocalMachine, (std::string(plat::kAdapterOnlyKey) + "\\" + kAdapter).c_str());
    ASSERT_TRUE(entry);
    entry->WriteNumber("cProtocols", 2);
    entry->WriteNumber("pProtocol", 2);
    entry->WriteText("IP Address", "127.1.7.7");
    entry->WriteText("MAC Address", kAdapter);
    ASSERT_TRUE(StoreQuickExchangeSettings());
}

}  // namespace nwtest
