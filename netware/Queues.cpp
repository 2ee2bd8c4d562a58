#include "netware/ServerConnection.h"
#include "netware/Tessik.h"

namespace {

NwResult Outcome(plat::NwCode code, NwResult failed) {
    return code == plat::kNwSuccess ? kNwOk : failed;
}

}  // namespace

NwResult NwBiCreateQueue(const char* server, const char* queue) {
    return RunExport({server, queue}, [&]() -> NwResult {
        ServerConnection connection;
        const NwResult opened = connection.Open(server, true);
        return opened != kNwOk
                   ? opened
                   : Outcome(plat::NwCreateQueue(connection.Target(), queue, ""), kNwQueueNotCreated);
    });
}

NwResult NwBiDeleteQueue(const char* server, const char* queue) {
    return RunExport({server, queue}, [&]() -> NwResult {
        ServerConnection connection;
        const NwResult opened = connection.Open(server, true);
        return opened != kNwOk ? opened
                               : Outcome(plat::NwDeleteQueue(connection.Target(), queue), kNwQueueNotDeleted);
    });
}
