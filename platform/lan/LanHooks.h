#pragma once

#include <cstdint>

// Test hooks and timing of the simulated LAN segment, per process. Initial values come from the
// environment: VORLANE_LAN_DROP (percent of frames lost), VORLANE_LAN_DELAY (milliseconds every frame
// is held back), VORLANE_LAN_T1 (milliseconds before a connection resends).
namespace plat {

struct LanTiming {
    std::uint32_t retransmitMs = 200;  // a connection resends what is unacknowledged after this
    std::uint32_t retries = 8;         // resends without an answer before the link counts as lost
    std::uint32_t sendWaitMs = 200;    // a datagram waits at most this long for room at its receiver
};

LanTiming GetLanTiming();
void SetLanTiming(const LanTiming& timing);

// Share (0 to 1) of the frames this process sends that the segment loses.
void SetLanDropShare(double share);
// Every frame this process sends arrives this much later.
void SetLanDelay(std::uint32_t milliseconds);

// Used by the segment for each frame sent.
bool LanDropsFrame();
std::uint32_t LanDelay();

}  // namespace plat
