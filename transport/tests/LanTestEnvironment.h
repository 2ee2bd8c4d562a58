#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

// The identities of this test process and its peer on the simulated LAN segment, set before any
// transport is made (the segment reads them at each use).
inline constexpr const char* kIpxNetwork = "00000001";
inline constexpr const char* kOwnStation = "0000F0AAAAAA";
inline constexpr const char* kPeerStation = "0000F0123456";  // also the print server's adapter name

inline void UseLanIdentity() {
    ASSERT_NE(std::getenv("VORLANE_LAN"), nullptr) << "runs inside scripts/netns-run";
    setenv("VORLANE_IPX_NETWORK", kIpxNetwork, 1);
    setenv("VORLANE_STATION", kOwnStation, 1);
}
