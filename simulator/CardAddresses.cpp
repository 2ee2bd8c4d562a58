#include "simulator/CardAddresses.h"

namespace sim {

namespace {

uint32_t Key(const Ipv4& ip) {
    return uint32_t{ip[0]} << 24 | uint32_t{ip[1]} << 16 | uint32_t{ip[2]} << 8 | ip[3];
}

}  // namespace

void CardAddresses::Reset(const std::vector<bool>& speaksIp) {
    std::lock_guard lock(mutex_);
    speaksIp_ = speaksIp;
    addresses_ = std::make_unique<std::atomic<uint32_t>[]>(speaksIp.size());
    owners_.clear();
    stale_ = true;
}

void CardAddresses::Update(size_t card, const Ipv4& address) {
    if (addresses_[card].exchange(Key(address)) != Key(address)) {
        stale_ = true;
    }
}

Ipv4 CardAddresses::Of(size_t card) const {
    const uint32_t key = addresses_[card];
    return Ipv4{static_cast<uint8_t>(key >> 24), static_cast<uint8_t>(key >> 16),
                static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)};
}

std::optional<size_t> CardAddresses::Owner(const Ipv4& address) {
    std::lock_guard lock(mutex_);
    if (stale_.exchange(false)) {
        owners_.clear();
        for (size_t card = 0; card < speaksIp_.size(); ++card) {
            if (speaksIp_[card]) {
                owners_.emplace(addresses_[card].load(), card);
            }
        }
    }
    const auto found = owners_.find(Key(address));
    return found != owners_.end() ? std::optional(found->second) : std::nullopt;
}

}  // namespace sim
