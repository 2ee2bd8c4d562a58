#include "simulator/CardValueText.h"

#include <charconv>

#include "platform/lan/LanSettings.h"

namespace sim {

namespace {

template <size_t N>
std::optional<std::array<uint8_t, N>> ParseHex(std::string_view text) {
    if (text.size() != 2 * N) {
        return std::nullopt;
    }
    std::array<uint8_t, N> bytes{};
    for (size_t i = 0; i < N; ++i) {
        auto [end, error] = std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, bytes[i], 16);
        if (error != std::errc() || end != text.data() + 2 * i + 2) {
            return std::nullopt;
        }
    }
    return bytes;
}

}  // namespace

std::optional<Mac> ParseMac(std::string_view text) {
    return ParseHex<6>(text);
}

std::optional<std::array<uint8_t, 4>> ParseIpxNetwork(std::string_view text) {
    return ParseHex<4>(text);
}

std::optional<Ipv4> ParseIpv4(std::string_view text) {
    Ipv4 ip{};
    for (size_t i = 0; i < ip.size(); ++i) {
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ip[i]);
        if (error != std::errc() || end == text.data()) {
            return std::nullopt;
        }
        text.remove_prefix(static_cast<size_t>(end - text.data()));
        bool last = i + 1 == ip.size();
        if (last != text.empty() || (!last && text.front() != '.')) {
            return std::nullopt;
        }
        if (!last) {
            text.remove_prefix(1);
        }
    }
    return ip;
}

std::optional<EngineType> ParseEngine(std::string_view text) {
    if (text == "office" || text == "1") {
        return EngineType::Office;
    }
    if (text == "compact" || text == "2") {
        return EngineType::Compact;
    }
    if (text == "external" || text == "3") {
        return EngineType::External;
    }
    if (text == "7171" || text == "4") {
        return EngineType::Model7171;
    }
    return std::nullopt;
}

std::optional<uint8_t> ParseProtocols(std::string_view text) {
    if (text == "all") {
        return AllProtocols;
    }
    uint8_t mask = 0;
    while (!text.empty()) {
        size_t comma = text.find(',');
        std::string_view name = text.substr(0, comma);
        if (name == "ip") {
            mask |= Bit(Protocol::Ip);
        } else if (name == "ipx") {
            mask |= Bit(Protocol::Ipx);
        } else if (name == "dlc") {
            mask |= Bit(Protocol::Dlc);
        } else {
            return std::nullopt;
        }
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return mask == 0 ? std::nullopt : std::optional<uint8_t>(mask);
}

std::string HexText(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (char c : bytes) {
        auto byte = static_cast<uint8_t>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

std::string MacText(const Mac& mac) {
    return HexText(std::string_view(reinterpret_cast<const char*>(mac.data()), mac.size()));
}

std::string Ipv4Text(const Ipv4& ip) {
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

std::array<uint8_t, 4> DefaultIpxNetwork() {
    uint32_t network = plat::LocalIpxNetwork();
    return {static_cast<uint8_t>(network >> 24), static_cast<uint8_t>(network >> 16),
            static_cast<uint8_t>(network >> 8), static_cast<uint8_t>(network)};
}

}  // namespace sim
