#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "simulator/Card.h"

namespace sim {

// The largest message a card sends; a larger answer becomes a tooBig error.
inline constexpr size_t MaxMessageSize = 1470;

// A card's SNMPv1 agent: takes one request datagram from a peer and gives the answer to send, or
// nothing (a lost or refused request, an unknown community, an undecodable datagram, silence).
// The card's faults of the peer's protocol shape the answer.
std::optional<Outgoing> AnswerRequest(Card& card, std::span<const uint8_t> request, const Peer& from);

}  // namespace sim
