#pragma once

#include <cstdint>

// The port monitor's trace log and error reporter. The log file is written only when the "ErrorLog"
// setting is 1; errors go into it then, and otherwise to a message box, or to the host's reporter
// when the host has one (the CUPS backend: no one is there to answer a box).

// Reads the settings and opens the log file (at its first byte: older text is overwritten, not
// truncated). Called once when the library starts.
void StartLog();
void EndLog();

// Writes the text unaltered; nothing while there is no log.
void LogWrite(const char* text);
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports one of the library's messages by its string id, with the date and time before it.
void ReportError(int stringId);

// Where a host without a screen wants the log lines (kind 0) and the errors (kind 1); null for none.
using HostReporter = void (*)(int kind, const char* text);
void SetHostReporter(HostReporter reporter);
