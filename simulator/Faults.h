#pragma once

#include <cstdint>

namespace sim {

// What goes wrong with a card's answers over one protocol; every switch off by default.
struct FaultSwitches {
    bool silent = false;          // no answers and no traps at all
    uint32_t delayMs = 0;         // each answer leaves this much later
    bool wrongRequestId = false;  // the answer carries the request id plus one
    uint8_t errorStatus = 0;      // 1 to 5: every request is refused with this status
    uint8_t setErrorStatus = 0;   // 1 to 5: every set is refused with this status, reads answered
    uint8_t nextErrorStatus = 0;  // 1 to 5: every get-next is refused with this status
    bool truncated = false;       // the answer loses its second half
    bool garbled = false;         // the answer's bytes after the outer header are scrambled
    uint8_t dropPercent = 0;      // this share of requests (0 to 100) is lost unseen

    bool operator==(const FaultSwitches&) const = default;
};

// The switches of one protocol and the running share of lost requests, so that a share of n per
// cent loses exactly n of every 100 requests, evenly spread.
class FaultState {
  public:
    const FaultSwitches& Switches() const { return switches_; }
    void Set(const FaultSwitches& switches) {
        switches_ = switches;
        dropCredit_ = 0;
    }
    // True when this request is one of the share that is lost.
    bool TakeDrop() {
        dropCredit_ += switches_.dropPercent;
        if (dropCredit_ >= 100) {
            dropCredit_ -= 100;
            return true;
        }
        return false;
    }

  private:
    FaultSwitches switches_;
    uint32_t dropCredit_ = 0;
};

}  // namespace sim
