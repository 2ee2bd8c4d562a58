#pragma once

#include "platform/spooler/MonitorInterface.h"

// The port monitor library's exports.
#define DALVOR_EXPORT extern "C" __attribute__((visibility("default")))

// Starts the library once (the DLC interface, the log, the ports of the store) and fills the
// spooler's table of entry points. The registry root is not read; TRUE (FALSE with the last error
// only when the start stopped on an exception, as every entry point behind the export guard).
DALVOR_EXPORT plat::MonitorBool InitializeMonitorEx(const char* registryRoot, plat::MonitorTable* table);

// A host without a screen (the CUPS backend) takes the log lines (kind 0) and the error messages
// (kind 1) in place of the log file's copy and the message boxes; null for none.
DALVOR_EXPORT void SetMonitorReporter(void (*reporter)(int kind, const char* text));
