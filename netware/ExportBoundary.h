#pragma once

#include <initializer_list>

#include "netware/TessikResults.h"
#include "platform/services/ExportGuard.h"

#define TESSIK_EXPORT extern "C" __attribute__((visibility("default")))

// True once the library found the NetWare client at load; without it every export fails with
// kNwCannotConnect.
bool ClientInstalled();

// Runs an export's body behind the export guard: nothing escapes the library. An exception becomes
// kNwNoMemory (the library's own failure); a missing client or a missing argument (a null pointer
// among `required`) fails before the body runs.
template <typename Body>
NwResult RunExport(std::initializer_list<const void*> required, Body body,
                   plat::ExportSite where = __builtin_FUNCTION()) noexcept {
    return plat::GuardExport(
        kNwNoMemory,
        [&]() -> NwResult {
            if (!ClientInstalled()) {
                return kNwCannotConnect;
            }
            for (const void* argument : required) {
                if (argument == nullptr) {
                    return kNwCannotConnect;
                }
            }
            return body();
        },
        where);
}
