#pragma once

#include <cstdio>

// One line of what the monitor's programs write for others to read line by line: the backend's
// messages on its standard error and its listing, which cupsd reads (acting on lines that start with
// STATE:, ATTR: or PPD:), and vorlane-port's, which a terminal shows. The text the format makes,
// each control character in it written visibly (\x0A for a line end), then the line's end. Every
// line goes out through here, so nothing that came from a name, the store, a file or the network
// starts a line of its own.
void WriteLine(std::FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));
