#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/spooler/MonitorInterface.h"

// The spooler's calls on the port monitor's ports: the monitor loaded as the spooler loads it, its
// ports with their print servers and queues, and the configure and delete calls, which keep the
// queues in step with the ports.
namespace plat {

inline constexpr const char* kMonitorName = "Vorlane Network Printer Port";

// Errors of these calls besides the monitor's own (MonitorInterface.h).
enum : std::uint32_t {
    kErrorMonitorUnavailable = 126,
    kErrorSpoolerUnavailable = 1722,
};

// The port monitor of that name, loaded once and kept, as the spooler keeps its monitors; null when the
// name is unknown or the library or its start cannot be loaded.
const MonitorTable* LoadMonitor(const char* monitorName);
// The names of the monitor's ports (its EnumPorts at level 1), the most recently added first; none
// when it lists none or fails.
std::vector<std::string> MonitorPortNames(const MonitorTable& monitor);

struct MonitorPort {
    std::string name;
    std::string adapter;                // the hardware address of its print server, from the port map
    std::vector<std::string> printers;  // the queues that print to it
};
// The monitor's ports, the most recently added first; false (with the last error) when the monitor
// or the spooler cannot be asked.
bool EnumMonitorPorts(std::vector<MonitorPort>& ports);

// Runs the monitor's configure dialog for the port, owned by the window. The port keeps its name, so
// its queues print on to the print server chosen. False with the last error when nothing changed:
// the port is unknown, a job prints on it (kErrorBusy), or the person cancelled.
bool ConfigurePort(const char* server, std::uint32_t window, const char* portName);
// Deletes the port and the queues that print to it, which would print to nothing. Refused
// (kErrorBusy) while those queues hold a job not yet done, since removing a queue throws its jobs
// away, and (kErrorSpoolerUnavailable) when the spooler cannot be asked.
bool DeletePort(const char* server, std::uint32_t window, const char* portName);

}  // namespace plat
