#pragma once

#include <string>

// The configuration helper library, loaded by its file name at each use, as the port dialogs call it.

// A detection of the print servers of the network into the device store, without progress notices.
void DetectPrintServers();
// Asks the print server at the address for its identity and stores it: kind 8 host name, 2 dotted
// IPv4 address, 1 IPX address (20 hexadecimal digits), 4 hardware address. False also when the
// library or its export is missing.
bool ValidateAdapter(const std::string& address, int kind);
