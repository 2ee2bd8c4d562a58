#pragma once

#include <optional>
#include <string>

#include "portmonitor/CNPC.h"
#include "portmonitor/ServerRecord.h"

// What the port dialog's OK does once the user chose a print server and a name.

enum class PortSetupResult { Done, StoreFailed, PortInUse, NoSuchPort, BadName };

// Add mode: records the new port in the store and puts it at the head of the port list; a name that
// will not do (PortNameFault) is refused. Configure
// mode: moves the existing port (never renamed) to the chosen print server, unless a job holds it
// open. A failed step leaves the store and the list as they were.
PortSetupResult SetUpPort(const ServerRecord& record, const std::string& portName, bool configure);

// True when the monitor has a port of that name (without regard to case).
bool PortExists(const std::string& name);
// True when a job holds the port: open in this process, or under way in the spooler on a queue that
// prints to it (each job's backend is a process of its own).
bool PortPrints(const CNPC& port);
// A free port name for the print server's name, at most 16 characters: the name without its control
// characters when free (cut to 13 characters when longer than 16), else the first free of it followed by 00
// to 31 (cut so that it fits); nothing when all are taken.
std::optional<std::string> ProposePortName(const std::string& serverName);
