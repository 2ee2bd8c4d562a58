#pragma once

#include "confighelper/HelperResult.h"

// The library's own use of the socket library, begun by HelperInitialize and ended once by
// HelperCleanUp. 0, kHelperNetworkNotReady (not ready, or version 1.1 not supported) or
// kHelperSocketStartFailed.
HelperResult StartSocketLibrary();
void StopSocketLibrary();
