#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/CardDescription.h"
#include "simulator/Simulator.h"

namespace sim {

// A command of the simulated NetWare network ("netware" and its words) and the line that gave it.
struct NetWareLine {
    std::size_t number = 0;
    std::vector<std::string> words;
};

// A simulated network as its description file gives it (format in simulator/README.md): the cards, and
// the commands that seed the NetWare network, in their order.
struct NetworkDescription {
    SimulatorOptions options;
    std::vector<CardDescription> cards;
    std::vector<NetWareLine> netware;
};

// Nullopt with "line N: reason" when the text is not a valid description.
std::optional<NetworkDescription> ParseDescription(std::string_view text, std::string& error);

// Splits a line into words; double quotes keep blanks inside a word. False on an open quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words);

}  // namespace sim
