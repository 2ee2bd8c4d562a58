#include "simulator/ControlCommands.h"

#include <algorithm>
#include <limits>

#include "simulator/CardOids.h"
#include "simulator/CardValueText.h"
#include "simulator/DescriptionFile.h"
#include "simulator/netware/NetWareNetwork.h"

namespace sim {

namespace {

const char Help[] =
    "ok commands: list | status CARD CODE | fault CARD ip|ipx|dlc|all SWITCH [VALUE] | get CARD OID | "
    "put CARD OID integer N|text TEXT | upgrade CARD SERVER FILE | firmware CARD | quit; "
    "CARD is a name, 12 hexadecimal digits or #index; SWITCH is silent, delay MS, wrong-id, error N, "
    "truncate, garble, drop PERCENT or clear";

struct Refusal {
    std::string reason;
};

template <typename Number>
Number NumberOf(const std::string& text, Number lowest, Number highest) {
    std::optional<Number> value = ParseNumber(text, lowest, highest);
    if (!value) {
        throw Refusal{"bad number \"" + text + "\""};
    }
    return *value;
}

size_t CardOf(const Simulator& simulator, const std::string& key) {
    if (!key.empty() && key[0] == '#') {
        if (simulator.CardCount() == 0) {
            throw Refusal{"no cards"};
        }
        return NumberOf<size_t>(key.substr(1), 0, simulator.CardCount() - 1);
    }
    std::optional<size_t> card = simulator.FindCard(key);
    if (!card) {
        throw Refusal{"unknown card \"" + key + "\""};
    }
    return *card;
}

void Expect(const std::vector<std::string>& words, size_t least, size_t most, const char* usage) {
    if (words.size() < least || words.size() > most) {
        throw Refusal{std::string("usage: ") + usage};
    }
}

bool OnOff(const std::vector<std::string>& words, size_t at) {
    if (words.size() <= at || words[at] == "on") {
        return true;
    }
    if (words[at] == "off") {
        return false;
    }
    throw Refusal{"expected on or off, not \"" + words[at] + "\""};
}

FaultSwitches ChangedSwitches(FaultSwitches faults, const std::vector<std::string>& words) {
    const std::string& name = words[3];
    auto value = [&]() -> const std::string& {
        if (words.size() < 5) {
            throw Refusal{name + " needs a value"};
        }
        return words[4];
    };
    if (name == "silent") {
        faults.silent = OnOff(words, 4);
    } else if (name == "delay") {
        faults.delayMs = NumberOf<uint32_t>(value(), 0, 600000);
    } else if (name == "wrong-id") {
        faults.wrongRequestId = OnOff(words, 4);
    } else if (name == "error") {
        faults.errorStatus = NumberOf<uint8_t>(value(), 0, 5);
    } else if (name == "set-error") {
        faults.setErrorStatus = NumberOf<uint8_t>(value(), 0, 5);
    } else if (name == "next-error") {
        faults.nextErrorStatus = NumberOf<uint8_t>(value(), 0, 5);
    } else if (name == "truncate") {
        faults.truncated = OnOff(words, 4);
    } else if (name == "garble") {
        faults.garbled = OnOff(words, 4);
    } else if (name == "drop") {
        faults.dropPercent = NumberOf<uint8_t>(value(), 0, 100);
    } else if (name == "clear") {
        faults = {};
    } else {
        throw Refusal{"unknown fault \"" + name + "\""};
    }
    return faults;
}

std::vector<Protocol> ProtocolsOf(const std::string& name) {
    if (name == "all") {
        return {Protocol::Ip, Protocol::Ipx, Protocol::Dlc};
    }
    std::optional<uint8_t> mask = ParseProtocols(name);
    if (!mask || name.find(',') != std::string::npos) {
        throw Refusal{"unknown protocol \"" + name + "\""};
    }
    return {static_cast<Protocol>(*mask)};
}

// Printable characters only: nothing that could end the reply line or hide in it.
bool IsPlainText(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string ValueText(const MibValue& value) {
    switch (value.type) {
        case ValueType::Integer:
            return "INTEGER " + std::to_string(value.number);
        case ValueType::Counter:
        case ValueType::Gauge:
        case ValueType::TimeTicks:
            return "NUMBER " + std::to_string(value.number);
        case ValueType::IpAddress:
            return "IP " +
                   Ipv4Text({static_cast<uint8_t>(value.bytes[0]), static_cast<uint8_t>(value.bytes[1]),
                             static_cast<uint8_t>(value.bytes[2]), static_cast<uint8_t>(value.bytes[3])});
        case ValueType::ObjectId:
            return "OID " + value.oid.ToText();
        case ValueType::OctetString:
            return IsPlainText(value.bytes) ? "STRING \"" + value.bytes + "\""
                                            : "HEX " + HexText(value.bytes);
        default:
            return "NULL";
    }
}

Oid OidOf(const std::string& text) {
    std::optional<Oid> oid = Oid::Parse(text);
    if (!oid) {
        throw Refusal{"bad object identifier \"" + text + "\""};
    }
    return *oid;
}

// What the card itself would change: who is printing, the AppleTalk port coming up.
std::string Put(Simulator& simulator, const std::vector<std::string>& words) {
    Expect(words, 5, 5, "put CARD OID integer N|text TEXT");
    size_t card = CardOf(simulator, words[1]);
    Oid oid = OidOf(words[2]);
    std::optional<MibValue> before;
    simulator.Inspect(card, [&](Card& target) { before = target.Objects().Get(oid); });
    if (!before) {
        throw Refusal{"no such object"};
    }
    MibValue value;
    if (words[3] == "integer" && before->type == ValueType::Integer) {
        value = MibValue::Integer(NumberOf<int32_t>(words[4], std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
    } else if (words[3] == "text" && before->type == ValueType::OctetString && IsPlainText(words[4])) {
        value = MibValue::Text(words[4]);
    } else {
        throw Refusal{"the object holds no " + words[3]};
    }
    bool stored = false;
    simulator.Inspect(card, [&](Card& target) {
        target.Objects().Put(oid, value);
        stored = target.Objects().Get(oid) == value;
    });
    if (!stored) {
        throw Refusal{"the card works the object out itself"};
    }
    return "ok";
}

std::string List(Simulator& simulator) {
    std::string reply;
    for (size_t i = 0; i < simulator.CardCount(); ++i) {
        simulator.Inspect(i, [&](Card& card) {
            reply += '#';
            reply += std::to_string(i) + " " + card.Description().name + " " +
                     MacText(card.Description().mac) + " " + Ipv4Text(card.Address()) + " engine " +
                     std::to_string(static_cast<int>(card.Description().engine)) + " status " +
                     std::to_string(card.Objects().Get(PrinterStatus)->number) + "\n";
        });
    }
    return reply + "ok " + std::to_string(simulator.CardCount()) + " cards";
}

// The front panel's download: the server and file go into the download objects, then it starts.
std::string Upgrade(Simulator& simulator, const std::vector<std::string>& words) {
    Expect(words, 4, 4, "upgrade CARD SERVER FILE");
    size_t card = CardOf(simulator, words[1]);
    const std::optional<Ipv4> server = ParseIpv4(words[2]);
    if (!server || words[3].size() > 127 || !IsPlainText(words[3])) {
        throw Refusal{"bad server or file"};
    }
    simulator.Inspect(card, [&](Card& target) {
        target.Objects().Put(DownloadServer, MibValue::Ip(*server));
        target.Objects().Put(DownloadFile, MibValue::Text(words[3]));
    });
    if (!simulator.StartUpgrade(card)) {
        throw Refusal{"a download is under way"};
    }
    return "ok";
}

std::string Run(Simulator& simulator, const std::vector<std::string>& words, bool& quit) {
    const std::string& verb = words[0];
    if (verb == "help") {
        return Help;
    }
    if (verb == "quit") {
        quit = true;
        return "ok";
    }
    if (verb == "list") {
        return List(simulator);
    }
    if (verb == "netware") {
        return HostedNetWareControl({words.begin() + 1, words.end()});
    }
    if (verb == "status") {
        Expect(words, 3, 3, "status CARD CODE");
        simulator.SetStatus(CardOf(simulator, words[1]), NumberOf<int32_t>(words[2], -1, 65535));
        return "ok";
    }
    if (verb == "fault") {
        Expect(words, 4, 5, "fault CARD ip|ipx|dlc|all SWITCH [VALUE]");
        size_t card = CardOf(simulator, words[1]);
        for (Protocol protocol : ProtocolsOf(words[2])) {
            simulator.SetFaults(card, protocol, ChangedSwitches(simulator.Faults(card, protocol), words));
        }
        return "ok";
    }
    if (verb == "put") {
        return Put(simulator, words);
    }
    if (verb == "upgrade") {
        return Upgrade(simulator, words);
    }
    if (verb == "firmware") {
        Expect(words, 2, 2, "firmware CARD");
        std::string report;
        simulator.Inspect(CardOf(simulator, words[1]),
                          [&](Card& target) { report = target.Upgrade().Report(); });
        return "ok " + report;
    }
    if (verb == "get") {
        Expect(words, 3, 3, "get CARD OID");
        size_t card = CardOf(simulator, words[1]);
        const Oid oid = OidOf(words[2]);
        std::optional<MibValue> value;
        simulator.Inspect(card, [&](Card& target) { value = target.Objects().Get(oid); });
        if (!value) {
            throw Refusal{"no such object"};
        }
        return "ok " + ValueText(*value);
    }
    throw Refusal{"unknown command \"" + verb + "\" (try help)"};
}

}  // namespace

std::string RunControlCommand(Simulator& simulator, std::string_view line, bool& quit) {
    std::vector<std::string> words;
    if (!SplitWords(line, words)) {
        return "error unclosed quote";
    }
    if (words.empty()) {
        return "error empty command";
    }
    try {
        return Run(simulator, words, quit);
    } catch (const Refusal& refusal) {
        return "error " + refusal.reason;
    }
}

}  // namespace sim
