#pragma once

#include <utility>

#include "platform/services/ExportGuard.h"
#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorInterface.h"

// Runs an entry point's body behind the export guard: an exception that escapes becomes the entry
// point's failure, FALSE, with the last error set (not enough memory, or an internal error).
template <class Body>
plat::MonitorBool GuardedEntry(Body&& body, plat::ExportSite where = __builtin_FUNCTION()) {
    auto fail = [](plat::ExportFault fault) {
        plat::SetLastError(fault == plat::ExportFault::kNoMemory ? plat::kErrorNotEnoughMemory
                                                                 : plat::kErrorInternal);
        return plat::MonitorBool{0};
    };
    return plat::GuardExportWith(fail, std::forward<Body>(body), where);
}
