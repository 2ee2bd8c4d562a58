#pragma once

#include "console/core/Libraries.h"
#include "netware/cardtable/CardServiceTable.h"

// The configuration helper exports the network interface dialog calls, bound by name on first use
// like the core's; the card's NetWare service table and check delays are among them.
namespace console::configlib {

CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperBcastSet);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperGetAppleTalkZones);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", NwSNMPInit);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", NwSNMPGetCfgCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", NwSNMPGetJobCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", NwSNMPSetCfgCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", NwSNMPSetJobCheckDelay);

}  // namespace console::configlib
