#include "simulator/DescriptionFile.h"

#include <set>
#include <sstream>

#include "simulator/CardValueText.h"

namespace sim {

namespace {

constexpr size_t LongestName = 64;
constexpr size_t LongestZone = 32;
constexpr size_t MostZones = 200;
constexpr size_t MostCards = 10000;

struct LineError {
    std::string reason;
};

template <typename Number>
Number NumberIn(std::string_view text, Number lowest, Number highest, const char* what) {
    std::optional<Number> value = ParseNumber(text, lowest, highest);
    if (!value) {
        throw LineError{std::string("bad ") + what + " \"" + std::string(text) + "\""};
    }
    return *value;
}

std::string Limited(const std::string& text, size_t longest, const char* what) {
    if (text.size() > longest) {
        throw LineError{std::string(what) + " longer than " + std::to_string(longest) + " characters"};
    }
    return text;
}

std::vector<std::string> ParseZones(const std::string& text) {
    std::vector<std::string> zones;
    std::stringstream list(text);
    std::string zone;
    while (std::getline(list, zone, '|')) {
        if (zone.empty()) {
            throw LineError{"empty zone name"};
        }
        zones.push_back(Limited(zone, LongestZone, "zone name"));
    }
    if (zones.size() > MostZones) {
        throw LineError{"more than " + std::to_string(MostZones) + " zones"};
    }
    return zones;
}

void ApplyKey(CardDescription& card, const std::string& key, const std::string& value) {
    if (key == "mac") {
        std::optional<Mac> mac = ParseMac(value);
        if (!mac) {
            throw LineError{"bad mac \"" + value + "\" (12 hexadecimal digits)"};
        }
        card.mac = *mac;
    } else if (key == "ip") {
        std::optional<Ipv4> ip = ParseIpv4(value);
        if (!ip) {
            throw LineError{"bad ip \"" + value + "\""};
        }
        card.ip = *ip;
    } else if (key == "ipx-network") {
        std::optional<std::array<uint8_t, 4>> network = ParseIpxNetwork(value);
        if (!network) {
            throw LineError{"bad ipx-network \"" + value + "\" (8 hexadecimal digits)"};
        }
        card.ipxNetwork = *network;
    } else if (key == "category") {
        card.category = NumberIn<uint8_t>(value, 1, 3, "category");
    } else if (key == "engine") {
        std::optional<EngineType> engine = ParseEngine(value);
        if (!engine) {
            throw LineError{"bad engine \"" + value + "\" (office, compact, external or 7171)"};
        }
        card.engine = *engine;
    } else if (key == "protocols") {
        std::optional<uint8_t> protocols = ParseProtocols(value);
        if (!protocols) {
            throw LineError{"bad protocols \"" + value + "\" (ip, ipx, dlc joined by commas)"};
        }
        card.protocols = *protocols;
    } else if (key == "location") {
        card.location = Limited(value, LongestName, "location");
    } else if (key == "status") {
        card.status = NumberIn<int32_t>(value, -1, 65535, "status");
    } else if (key == "status-every") {
        card.statusEverySeconds = NumberIn<uint32_t>(value, 1, 86400, "status-every");
    } else if (key == "zones") {
        card.zones = ParseZones(value);
    } else if (key == "appletalk") {
        if (value != "on" && value != "off") {
            throw LineError{"appletalk is on or off"};
        }
        card.appleTalk = value == "on";
    } else if (key == "model") {
        card.model = Limited(value, LongestName, "model");
    } else if (key == "version") {
        card.version = Limited(value, LongestName, "version");
    } else if (key == "password") {
        card.password = Limited(value, 16, "password");
    } else {
        throw LineError{"unknown key \"" + key + "\""};
    }
}

void ApplyKeys(CardDescription& card, const std::vector<std::string>& words, size_t first) {
    for (size_t i = first; i < words.size(); ++i) {
        size_t equals = words[i].find('=');
        if (equals == std::string::npos || equals == 0) {
            throw LineError{"expected key=value, not \"" + words[i] + "\""};
        }
        ApplyKey(card, words[i].substr(0, equals), words[i].substr(equals + 1));
    }
}

// Defaults of the n-th card of the file: they differ from card to card.
CardDescription DefaultCard(size_t n) {
    CardDescription card;
    card.mac = {0x00,
                0xC0,
                0xDE,
                static_cast<uint8_t>(n >> 16),
                static_cast<uint8_t>(n >> 8),
                static_cast<uint8_t>(n)};
    card.ip = {127, 0, static_cast<uint8_t>(1 + n / 250), static_cast<uint8_t>(1 + n % 250)};
    card.ipxNetwork = DefaultIpxNetwork();
    card.location = "Print room";
    return card;
}

// The i-th card of a "cards" line: hardware and IP addresses count up from the line's first ones,
// the engine goes round the four when "mixed".
CardDescription NthOfGroup(const CardDescription& first, const std::string& prefix, size_t i,
                           bool mixedEngines) {
    CardDescription card = first;
    card.name = prefix + "-" + std::to_string(i + 1);
    uint64_t mac = 0;
    for (uint8_t byte : first.mac) {
        mac = (mac << 8) | byte;
    }
    mac += i;
    for (size_t b = 0; b < 6; ++b) {
        card.mac[5 - b] = static_cast<uint8_t>(mac >> (8 * b));
    }
    uint32_t ip = (uint32_t{first.ip[0]} << 24) | (uint32_t{first.ip[1]} << 16) |
                  (uint32_t{first.ip[2]} << 8) | first.ip[3];
    if (ip != 0) {
        ip += static_cast<uint32_t>(i);
        card.ip = {static_cast<uint8_t>(ip >> 24), static_cast<uint8_t>(ip >> 16),
                   static_cast<uint8_t>(ip >> 8), static_cast<uint8_t>(ip)};
    }
    if (mixedEngines) {
        card.engine = static_cast<EngineType>(1 + i % 4);
    }
    return card;
}

// Refused before the cards are made: a few short lines could otherwise ask for millions.
void MakeRoom(const NetworkDescription& network, size_t more) {
    if (network.cards.size() + more > MostCards) {
        throw LineError{"more than " + std::to_string(MostCards) + " cards"};
    }
}

void ParseLine(const std::vector<std::string>& words, std::size_t number, NetworkDescription& network) {
    const std::string& verb = words[0];
    if (verb == "netware") {
        if (words.size() < 2) {
            throw LineError{"netware needs a command"};
        }
        network.netware.push_back({number, words});
    } else if (verb == "option") {
        for (size_t i = 1; i < words.size(); ++i) {
            if (words[i].rfind("snmp-port=", 0) != 0) {
                throw LineError{"unknown option \"" + words[i] + "\""};
            }
            network.options.snmpPort = NumberIn<uint16_t>(words[i].substr(10), 1, 65535, "snmp-port");
        }
    } else if (verb == "card") {
        if (words.size() < 2) {
            throw LineError{"card needs a name"};
        }
        MakeRoom(network, 1);
        CardDescription card = DefaultCard(network.cards.size());
        card.name = Limited(words[1], LongestName, "name");
        ApplyKeys(card, words, 2);
        network.cards.push_back(card);
    } else if (verb == "cards") {
        if (words.size() < 3) {
            throw LineError{"cards needs a count and a name prefix"};
        }
        auto count = NumberIn<size_t>(words[1], 1, MostCards, "count");
        MakeRoom(network, count);
        CardDescription first = DefaultCard(network.cards.size());
        std::vector<std::string> keys = words;
        bool mixed = false;
        for (std::string& key : keys) {
            if (key == "engine=mixed") {
                mixed = true;
                key = "engine=office";
            }
        }
        ApplyKeys(first, keys, 3);
        for (size_t i = 0; i < count; ++i) {
            network.cards.push_back(
                NthOfGroup(first, Limited(words[2], LongestName - 6, "name prefix"), i, mixed));
        }
    } else {
        throw LineError{"unknown line \"" + verb + "\" (card, cards, netware or option)"};
    }
}

void CheckUnique(const NetworkDescription& network) {
    std::set<Mac> macs;
    std::set<Ipv4> ips;
    std::set<std::string> names;
    for (const CardDescription& card : network.cards) {
        if (!macs.insert(card.mac).second) {
            throw LineError{"two cards with the hardware address " + MacText(card.mac)};
        }
        if (card.ip != Ipv4{} && !ips.insert(card.ip).second) {
            throw LineError{"two cards with the address " + Ipv4Text(card.ip)};
        }
        if (!names.insert(card.name).second) {
            throw LineError{"two cards named " + card.name};
        }
    }
}

}  // namespace

bool SplitWords(std::string_view line, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return !quoted;
}

std::optional<NetworkDescription> ParseDescription(std::string_view text, std::string& error) {
    NetworkDescription network;
    std::stringstream lines{std::string(text)};
    std::string line;
    size_t number = 0;
    try {
        while (std::getline(lines, line)) {
            ++number;
            size_t first = line.find_first_not_of(" \t");
            if (first != std::string::npos && line[first] == '#') {
                continue;
            }
            std::vector<std::string> words;
            if (!SplitWords(line, words)) {
                throw LineError{"unclosed quote"};
            }
            if (!words.empty()) {
                ParseLine(words, number, network);
            }
        }
        number = 0;
        CheckUnique(network);
    } catch (const LineError& failure) {
        error = (number != 0 ? "line " + std::to_string(number) + ": " : "") + failure.reason;
        return std::nullopt;
    }
    return network;
}

}  // namespace sim
