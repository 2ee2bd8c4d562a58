#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace consoletest {

// One line of a description: a card with its hardware and IP addresses, the protocols it speaks
// ("all", or "ip", "ipx", "dlc" joined by commas) and the printer status it starts with.
std::string CardLine(const std::string& name, const std::string& mac, const std::string& ip,
                     const std::string& protocols, int status);

// The simulated print server cards as a program of their own (printserver-sim), started from a
// description and steered through its control channel on standard input and output.
class SimulatorProcess {
  public:
    SimulatorProcess() = default;
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Writes the description into the runtime folder, starts the program on it and waits until it
    // reports every card ready. False with the reason.
    bool Start(const std::string& description, std::string& error);
    // One control line and its reply ("ok ..." or "error ..."); "" when no reply came in time.
    std::string Command(const std::string& line);
    // A control line whose reply takes several lines, up to its closing "ok ..." or "error ..."
    // line, all of them ("" when no reply came in time).
    std::string Listing(const std::string& line);
    // The number a card's object holds (the last word of the "get" reply); -1 when it cannot be read.
    std::int64_t Number(const std::string& card, const std::string& oid);
    // Asks the program to quit and waits for it; ended at once when it does not go.
    void Stop();

  private:
    bool SendLine(const std::string& line);
    std::string ReadLine();

    pid_t pid_ = -1;
    int toProgram_ = -1;
    int fromProgram_ = -1;
    std::string unread_;
};

}  // namespace consoletest
