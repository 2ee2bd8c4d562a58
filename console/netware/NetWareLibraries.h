#pragma once

#include "console/core/Libraries.h"
#include "netware/Tessik.h"

// The NetWare helper library's exports the console calls, bound by name on first use like the core's.
namespace console::tessik {

CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiLogin);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsLogin);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwListFs);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwListTrees);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiGetQueueList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiGetPsList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsGetContext);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsBrowse);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwGetVerInfo);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwStateOfAuthentication);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiCreateQueue);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsCreateQueue);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiDeleteQueue);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsDeleteQueue);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiCreatePrintServer);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsCreatePs);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiVerifyPs);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsVerifyPs);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiAddSerList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsAddSerList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwBiRmSerList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwNdsRmSerList);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPModifyMode);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPInit);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPGetJobCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPSetJobCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPGetCfgCheckDelay);
CONSOLE_LIBRARY_FUNCTION("Tessik.dll", NwSNMPSetCfgCheckDelay);

}  // namespace console::tessik
