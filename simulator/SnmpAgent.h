#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "simulator/Card.h"

namespace sim {

// The largest message a card sends; a larger answer becomes a tooBig error.
inline constexpr size_t MaxMessageSize = 1470;

// A card's SNMPv1 agent: takes one request datagram from a peer and gives the answer to send, or
// nothing (a lost or refused request, an unknown community, an undecodable datagram or one of another
// SNMP version, silence). A request with more bindings than the codec takes is answered tooBig. A
// community that may only read does not see the card's secrets. The card's faults of the peer's
// protocol shape the answer.
std::optional<Outgoing> AnswerRequest(Card& card, std::span<const uint8_t> request, const Peer& from);

}  // namespace sim
