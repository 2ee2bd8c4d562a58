// What the library does when it is loaded into a process and unloaded from it.
#include "platform/services/ExportGuard.h"
#include "transport/DlcCommandLayer.h"

namespace {

// Opens the DLC adapter, which stores its application id in the process's bgApplId. A PC without
// DLC loads the library all the same: its DLC transports then report DLC as not available.
__attribute__((constructor)) void LibraryLoaded() {
    plat::GuardExport([] { DlcInitialize(); });
}

// Gives back the adapter and what it held, before the library's memory goes.
__attribute__((destructor)) void LibraryUnloaded() {
    plat::GuardExport([] { DlcUnload(); });
}

}  // namespace
