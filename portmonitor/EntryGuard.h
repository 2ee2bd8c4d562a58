#pragma once

#include <new>

#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorInterface.h"

// Runs an entry point's body so that no exception leaves the library: one that escapes becomes the
// entry point's failure, FALSE, with the last error set. (A local guard until the platform's own
// guard for exports lands.)
template <class Body>
plat::MonitorBool GuardedEntry(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        plat::SetLastError(plat::kErrorNotEnoughMemory);
    } catch (...) {
        plat::SetLastError(plat::kErrorInternal);
    }
    return 0;
}
