#include "netware/DirectoryContext.h"
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

NwResult NwNdsCreateQueue(char* tree, const char* queue, const char* context, const char* volume) {
    return RunExport({tree, queue, context, volume}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectoryToChange(tree, directory);
        return result != kNwOk
                   ? result
                   : Outcome(plat::NwCreateQueue(directory.Target(), RootName(queue, context), volume),
                             kNwQueueNotCreated);
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

NwResult NwNdsDeleteQueue(char* tree, const char* queue, const char* context) {
    return RunExport({tree, queue, context}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectory(tree, context, directory);
        return result != kNwOk ? result
                               : Outcome(plat::NwDeleteQueue(directory.Target(), queue), kNwQueueNotDeleted);
    });
}
