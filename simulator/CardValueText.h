#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/EngineType.h"
#include "simulator/MibValue.h"
#include "simulator/Protocol.h"

namespace sim {

// The texts a description file and the control channel use for a card's values.
std::optional<Mac> ParseMac(std::string_view text);                            // 12 hexadecimal digits
std::optional<Ipv4> ParseIpv4(std::string_view text);                          // dotted quad
std::optional<std::array<uint8_t, 4>> ParseIpxNetwork(std::string_view text);  // 8 hexadecimal digits
std::optional<EngineType> ParseEngine(std::string_view text);  // office, compact, external, 7171 or 1 to 4
std::optional<uint8_t> ParseProtocols(std::string_view text);  // "all", or ip, ipx, dlc joined by commas

// The whole text as a decimal number from `lowest` to `highest`.
template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, Number lowest, Number highest) {
    Number value{};
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// Upper-case hexadecimal digits, two per byte.
std::string HexText(std::string_view bytes);
std::string MacText(const Mac& mac);
std::string Ipv4Text(const Ipv4& ip);

// The IPX network of the simulated segment.
std::array<uint8_t, 4> DefaultIpxNetwork();

}  // namespace sim
