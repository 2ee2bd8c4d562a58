#pragma once

#include "confighelper/Halbrin.h"
#include "snmp/exports/Vantorel.h"
#include "tests/LateExport.h"

// The library functions the console calls, each bound by name on its first call. The headers'
// own declarations give the types only: this program is never linked against the libraries, so a
// call that bypasses these bindings does not link.
#define CONSOLE_EXPORT(library, name)                       \
    inline consoletest::LateExport<decltype(::name)> name { \
        library, #name                                      \
    }

namespace consoletest::halbrin {
CONSOLE_EXPORT("Halbrin.dll", HelperInitialize);
CONSOLE_EXPORT("Halbrin.dll", HelperCleanUp);
CONSOLE_EXPORT("Halbrin.dll", HelperDetectPrintServers);
CONSOLE_EXPORT("Halbrin.dll", HelperValidateAdapter);
}  // namespace consoletest::halbrin

namespace consoletest::vantorel {
CONSOLE_EXPORT("Vantorel.dll", HelperSNMPTransact);
CONSOLE_EXPORT("Vantorel.dll", HelperSNMPRegisterTrapDestination);
CONSOLE_EXPORT("Vantorel.dll", HelperTrapKeepAlive);
}  // namespace consoletest::vantorel

#undef CONSOLE_EXPORT
