#pragma once

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

// Tests that talk to cards store short waits: an exchange gives up after a second and one retry, a
// detection listens for a second per protocol pass.
inline bool StoreQuickExchangeSettings() {
    const auto snmp = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey);
    if (!snmp) {
        return false;
    }
    bool stored = true;
    for (const char* name : {"UdpTimeOutInterval", "UdpTotalRetries", "AutoDetectTimeout"}) {
        stored = snmp->WriteNumber(name, 1) == plat::kStoreOk && stored;
    }
    return stored;
}
