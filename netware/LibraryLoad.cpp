#include "netware/ExportBoundary.h"
#include "platform/netware/NetWareClient.h"
#include "platform/services/ExportGuard.h"

namespace {

// The library comes up only with a NetWare client on the machine; without one (no simulated LAN)
// every export answers that nothing can be reached.
struct ClientAtLoad {
    bool installed =
        plat::GuardExport(false, [] { return plat::NwInitializeClient() != plat::kNwClientAbsent; });
};

const ClientAtLoad& Load() {
    static const ClientAtLoad load;
    return load;
}

// Looks for the client when the library is loaded, as the environment stands then.
[[maybe_unused]] const ClientAtLoad& kLoaded = Load();

}  // namespace

bool ClientInstalled() {
    return Load().installed;
}
