#pragma once

#include <cstdint>

#include "platform/window/Window.h"

// What the test and its peer process (window_peer) say to each other.
namespace peer {

inline constexpr const char* kClass = "VorlanePeer";
inline constexpr const char* kTestTitle = "test";
inline constexpr const char* kPeerTitle = "peer";

enum : std::uint32_t {
    kHello = plat::kWmUser + 10,     // posted by the peer to the test window: wParam its window
    kPing = plat::kWmUser + 11,      // sent: answers wParam + 1
    kAskBack = plat::kWmUser + 12,   // sent: the peer sends kPing (wParam) to window lParam, answers it x 10
    kRace = plat::kWmUser + 13,      // posted: the peer sends wParam pings to window lParam, then kRaceDone
    kRaceDone = plat::kWmUser + 14,  // posted back: wParam the pings answered right
    kSequence = plat::kWmUser + 15,  // posted: wParam counts up from 0
    kReportSequence = plat::kWmUser + 16,  // posted: the peer posts kSequenceSeen to window lParam
    kSequenceSeen = plat::kWmUser + 17,    // posted back: wParam how many came in order, kBroken if not
    kPostBack = plat::kWmUser + 19,        // sent: the peer posts wParam kSequence messages to window lParam
    kDie = plat::kWmUser + 18,             // sent: the peer ends without answering
};

inline constexpr plat::WParam kBroken = ~plat::WParam{0};

}  // namespace peer
