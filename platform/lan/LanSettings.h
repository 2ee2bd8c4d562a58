#pragma once

#include <cstdint>
#include <string>

#include "platform/lan/HardwareAddress.h"

// Where this machine's simulated LAN segment is and who this machine is on it. Read from the
// environment at each call, so that a test can point a process at a folder of its own.
namespace plat {

inline constexpr std::uint32_t kDefaultIpxNetwork = 0x00FACADE;

// True when VORLANE_LAN names the segment's folder (made when missing). Unset: the machine has no
// IPX, no SPX and no DLC.
bool LanConfigured();
// The segment's folder, or empty when none is configured.
std::string LanFolder();

// The PC's own station: VORLANE_STATION (12 hexadecimal digits), else an address derived from the
// machine's identity (a locally administered one, so that it never clashes with a real card).
HardwareAddress LocalStationAddress();

// The IPX network of the segment: VORLANE_IPX_NETWORK (8 hexadecimal digits), else kDefaultIpxNetwork.
std::uint32_t LocalIpxNetwork();

}  // namespace plat
