#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "simulator/MibValue.h"

namespace sim {

// Each card's IPv4 address, and the card that owns each address, for the threads that answer UDP
// requests side by side: an address is read here without the lock of its card, and the index is
// made again only after an address changed.
class CardAddresses {
  public:
    // For cards of which those that speak IP are indexed; every address 0.0.0.0 until Update.
    void Reset(const std::vector<bool>& speaksIp);
    // The card's address as it is now: called with the card locked, after anything that may move it.
    void Update(size_t card, const Ipv4& address);
    Ipv4 Of(size_t card) const;
    // The first card that speaks IP with the address (the first card of an address owns it).
    std::optional<size_t> Owner(const Ipv4& address);

  private:
    std::unique_ptr<std::atomic<uint32_t>[]> addresses_;
    std::vector<bool> speaksIp_;
    std::atomic<bool> stale_{true};
    std::mutex mutex_;  // over the index
    std::unordered_map<uint32_t, size_t> owners_;
};

}  // namespace sim
