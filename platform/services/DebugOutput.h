#pragma once

namespace plat {

// Diagnostics of the libraries: written to stderr when VORLANE_DEBUG is set, dropped otherwise.
void DebugOutput(const char* text);

// printf-style convenience over DebugOutput; the text is cut at 1023 characters.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace plat
