#pragma once

#include <string>

#include "platform/spooler/MonitorInterface.h"

// Runs the port dialog modally (add mode, or configure mode for the port); true when it ended with
// OK.
bool ShowPortDialog(plat::WindowHandle owner, bool configure, const std::string& portName);

// The entry points of the monitor table that add and configure ports. AddPort fails (with
// kErrorCancelled) when the user cancelled; ConfigurePort always succeeds.
plat::MonitorBool AddPort(const char* server, plat::WindowHandle window, const char* monitorName);
plat::MonitorBool ConfigurePort(const char* server, plat::WindowHandle window, const char* portName);
