#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/Spooler.h"

// What the spooler holds for a port of the port monitor: the queues that print to it and their jobs.
namespace plat {

// True when the queue prints to the port (without regard to case, as the monitor finds its ports).
bool PrintsToPort(const PrinterDevice& queue, const std::string& port);

struct PortUse {
    std::vector<std::string> printers;  // the queues that print to the port
    std::size_t printing = 0;           // their jobs under way
    std::size_t waiting = 0;            // their jobs not yet started: pending, held or stopped
};
// False when the spooler cannot be asked.
bool GetPortUse(const std::string& port, PortUse& use);

}  // namespace plat
