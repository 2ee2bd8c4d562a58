#pragma once

#include "platform/spooler/MonitorInterface.h"
#include "portmonitor/PortServices.h"

// The one export of the port dialogs' module (libdalvordialogs.so), which the monitor library loads
// when AddPort or ConfigurePort asks for a dialog.
#define DALVOR_DIALOGS_EXPORT extern "C" __attribute__((visibility("default")))

// Runs the port dialog modally (add mode, or configure mode for the port), changing the monitor's
// ports through `services`; 1 when it ended with OK, else 0.
DALVOR_DIALOGS_EXPORT int RunPortDialog(const PortServices* services, plat::WindowHandle owner, int configure,
                                        const char* portName);
using RunPortDialogFunction = int (*)(const PortServices*, plat::WindowHandle, int, const char*);
