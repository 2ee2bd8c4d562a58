#pragma once

#include "confighelper/Halbrin.h"
#include "console/core/LateExport.h"
#include "snmp/exports/Vantorel.h"

// The library functions the console calls, each bound by name on its first call.
namespace console {

namespace halbrin {
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperInitialize);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperCleanUp);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperDetectPrintServers);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperInstallPrinter32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperDeviceSettings32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperRefreshJobQueue32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperSetTFTPParameters);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperValidateAdapterResolved);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperGetHostIPAddress);
}  // namespace halbrin

namespace vantorel {
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPTransact);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPTransactAscii);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperGetSNMPObjects);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPRegisterTrapDestination);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperTrapKeepAlive);
}  // namespace vantorel

}  // namespace console
