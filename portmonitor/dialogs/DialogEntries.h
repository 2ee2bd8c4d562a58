#pragma once

#include <string>

#include "platform/spooler/MonitorInterface.h"

// Runs the port dialog modally (add mode, or configure mode for the port); true when it ended with
// OK.
bool ShowPortDialog(plat::WindowHandle owner, bool configure, const std::string& portName);

// The entry points of the monitor table that add and configure ports. Each fails with
// kErrorCancelled when the user cancelled; ConfigurePort also with kErrorUnknownPort for a port the
// monitor does not have and kErrorBusy, before the dialog opens, while a job prints on the port.
plat::MonitorBool AddPort(const char* server, plat::WindowHandle window, const char* monitorName);
plat::MonitorBool ConfigurePort(const char* server, plat::WindowHandle window, const char* portName);
