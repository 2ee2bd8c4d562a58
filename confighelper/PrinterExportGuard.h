#pragma once

#include <new>

#include "confighelper/HelperResult.h"

// Runs a printer export's body so that no exception leaves the library: an allocation failure
// becomes kHelperNoMemory, any other the export's failure result. (A local guard until the
// platform's one export guard lands.)
template <class Body>
HelperResult GuardedPrinterExport(HelperResult failure, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kHelperNoMemory;
    } catch (...) {
        return failure;
    }
}
