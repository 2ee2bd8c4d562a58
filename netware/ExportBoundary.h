#pragma once

#include <initializer_list>

#include "netware/TessikResults.h"

#define TESSIK_EXPORT extern "C" __attribute__((visibility("default")))

// True once the library found the NetWare client at load; without it every export fails with
// kNwCannotConnect.
bool ClientInstalled();

// Runs an export's body: nothing escapes the library. An exception becomes kNwNoMemory (the
// library's own failure); a missing client or a missing argument (a null pointer among `required`)
// fails before the body runs.
// TODO(ExportGuard): use platform/services' export guard once it is on main.
template <typename Body>
NwResult RunExport(std::initializer_list<const void*> required, Body body) noexcept {
    if (!ClientInstalled()) {
        return kNwCannotConnect;
    }
    for (const void* argument : required) {
        if (argument == nullptr) {
            return kNwCannotConnect;
        }
    }
    try {
        return body();
    } catch (...) {
        return kNwNoMemory;
    }
}
