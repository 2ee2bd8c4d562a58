#pragma once

#include <cstdint>
#include <optional>

// A dotted IPv4 text of exactly four decimal numbers 0-255, in network order; nothing for any other
// text (unlike inet_addr, whose failure answer is also the broadcast address).
std::optional<std::uint32_t> ParseDottedAddress(const char* text);
