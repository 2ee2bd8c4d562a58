// This PC's addresses for a trap registration, found on a PC without IPX (unit tests run without
// the simulated LAN; with it, the registrations over the simulated cards show the IPX side).
#include <gtest/gtest.h>

#include <cstring>

#include "snmp/exchange/LocalAddresses.h"
#include "transport/LocalIpv4Address.h"
#include "transport/ProtocolMask.h"

namespace snmp {
namespace {

TEST(LocalAddresses, AProtocolWithoutAnAddressHereIsLeftOutAndDlcStays) {
    const std::uint8_t ip = LocalIpv4Address() ? kProtocolIp : 0;
    struct Case {
        std::uint8_t entryMask;
        std::uint8_t registered;
    };
    const Case cases[] = {
        {kProtocolIp | kProtocolIpx, ip},
        {kProtocolIpx, 0},
        {kProtocolIpx | kProtocolDlc, kProtocolDlc},
        {kProtocolIp | kProtocolIpx | kProtocolDlc, static_cast<std::uint8_t>(ip | kProtocolDlc)},
        {0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLocalAddresses(c.entryMask).mask, c.registered) << static_cast<int>(c.entryMask);
    }
}

TEST(LocalAddresses, TheIpAddressIsThisPcsOwn) {
    const auto address = LocalIpv4Address();
    if (!address) {
        GTEST_SKIP() << "this PC has no IPv4 address";
    }
    const LocalAddresses local = FindLocalAddresses(kProtocolIp);
    ASSERT_EQ(local.mask, kProtocolIp);
    EXPECT_EQ(std::memcmp(local.ip.data(), &*address, 4), 0);
}

}  // namespace
}  // namespace snmp
