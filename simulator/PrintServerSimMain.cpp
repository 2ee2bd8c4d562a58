// printserver-sim: runs the simulated print server cards of a description file until told to stop.
#include <fstream>
#include <iostream>

#include "simulator/CardValueText.h"
#include "simulator/ControlServer.h"
#include "simulator/DescriptionFile.h"
#include "simulator/StatusCycler.h"
#include "simulator/netware/NetWareNetwork.h"

namespace {

constexpr size_t LargestDescription = 1 << 20;

const char Usage[] = "usage: printserver-sim [--port N] [--control SOCKET] DESCRIPTION-FILE\n";

struct Arguments {
    std::string description;
    std::string control;
    uint16_t port = 0;  // 0: the description's
};

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if ((argument == "--port" || argument == "--control") && i + 1 < argc) {
            std::string value = argv[++i];
            if (argument == "--control") {
                arguments.control = value;
            } else {
                std::optional<uint16_t> port = sim::ParseNumber<uint16_t>(value, 1, 65535);
                if (!port) {
                    return false;
                }
                arguments.port = *port;
            }
        } else if (arguments.description.empty() && !argument.empty() && argument[0] != '-') {
            arguments.description = argument;
        } else {
            return false;
        }
    }
    return !arguments.description.empty();
}

// Reads no more than one byte past the limit, so that an endless file is refused as well.
bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    text.resize(LargestDescription + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    return text.size() <= LargestDescription;
}

// The description's NetWare commands, run as the control channel runs them; false with the reason
// on standard error at the first one refused.
bool SeedNetWare(const std::vector<sim::NetWareLine>& lines, const std::string& file) {
    for (const sim::NetWareLine& line : lines) {
        const std::string reply = sim::HostedNetWareControl({line.words.begin() + 1, line.words.end()});
        if (reply.rfind("error", 0) == 0) {
            std::cerr << "printserver-sim: " << file << ": line " << line.number << ": " << reply << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::cerr << Usage;
        return 2;
    }
    std::string text;
    if (!ReadFile(arguments.description, text)) {
        std::cerr << "printserver-sim: cannot read " << arguments.description << " (at most 1 MiB)\n";
        return 2;
    }
    std::string error;
    std::optional<sim::NetworkDescription> network = sim::ParseDescription(text, error);
    if (!network) {
        std::cerr << "printserver-sim: " << arguments.description << ": " << error << "\n";
        return 2;
    }
    if (arguments.port != 0) {
        network->options.snmpPort = arguments.port;
    }
    sim::ControlServer::BlockStopSignals();
    if (!SeedNetWare(network->netware, arguments.description)) {
        return 2;
    }
    sim::Simulator simulator(network->options);
    sim::JobListener jobs;
    for (const sim::CardDescription& card : network->cards) {
        simulator.AddCard(card);
        jobs.AddCard(card);
    }
    sim::ControlServer control(simulator, &jobs);
    if (!control.Listen(arguments.control, error) || !simulator.Start(error) || !jobs.Start(error)) {
        std::cerr << "printserver-sim: " << error << "\n";
        return 1;
    }
    std::vector<sim::StatusCycler::Changing> changing;
    for (size_t i = 0; i < network->cards.size(); ++i) {
        if (network->cards[i].statusEverySeconds != 0) {
            changing.push_back({i, std::chrono::seconds(network->cards[i].statusEverySeconds)});
        }
    }
    std::cout << "ready " << network->cards.size() << " cards" << std::endl;
    {
        sim::StatusCycler cycler(changing,
                                 [&](size_t card, int32_t status) { simulator.SetStatus(card, status); });
        control.Serve();
    }
    jobs.Stop();
    simulator.Stop();
    return 0;
}
