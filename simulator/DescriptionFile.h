#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/CardDescription.h"
#include "simulator/Simulator.h"

namespace sim {

// A simulated network as its description file gives it (format in simulator/README.md).
struct NetworkDescription {
    SimulatorOptions options;
    std::vector<CardDescription> cards;
};

// Nullopt with "line N: reason" when the text is not a valid description.
std::optional<NetworkDescription> ParseDescription(std::string_view text, std::string& error);

// Splits a line into words; double quotes keep blanks inside a word. False on an open quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words);

}  // namespace sim
