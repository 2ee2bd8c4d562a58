#pragma once

#include <array>
#include <cstdint>

// Who answers at an IPv4 address when asked for its hardware address over UDP: nobody, the print
// server of the given hardware address, or another device (anything else that answers, whatever it
// says). A print server is given an address only where nobody else answers, and is taken to hold it
// only once it answers there itself.
enum class Occupant { kNobody, kThisCard, kAnother };

// Sends the get up to `attempts` times (at least once), waiting `seconds` for an answer each time.
Occupant AskAddress(const char* address, const std::array<std::uint8_t, 6>& hardware, std::uint32_t attempts,
                    std::uint32_t seconds);
