#include "netware/DirectoryContext.h"
#include "netware/ServerConnection.h"
#include "netware/Tessik.h"

namespace {

NwResult CreateWithPrinter(const plat::NwTarget& target, const char* printServer, const char* printer) {
    if (plat::NwCreatePrintServer(target, printServer) != plat::kNwSuccess ||
        plat::NwCreatePrinter(target, printServer, printer) != plat::kNwSuccess) {
        return kNwPrintServerNotCreated;
    }
    return kNwOk;
}

NwResult Verify(const plat::NwTarget& target, const char* printServer, NwResult otherFailure) {
    const plat::NwCode code = plat::NwPrintServerExists(target, printServer);
    if (code == plat::kNwSuccess) {
        return kNwOk;
    }
    return code == plat::kNwNoPrintServer ? kNwPrintServerAbsent : otherFailure;
}

}  // namespace

NwResult NwBiCreatePrintServer(const char* server, const char* printServer, const char* printer) {
    return RunExport({server, printServer, printer}, [&]() -> NwResult {
        ServerConnection connection;
        const NwResult opened = connection.Open(server, false);
        return opened != kNwOk ? opened : CreateWithPrinter(connection.Target(), printServer, printer);
    });
}

NwResult NwNdsCreatePs(char* tree, const char* printServer, const char* context, const char* printer) {
    return RunExport({tree, printServer, context, printer}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectory(tree, context, directory);
        if (result != kNwOk) {
            return result;
        }
        if (!plat::NwDirectoryLoginExists()) {
            return kNwLoginRequired;
        }
        return CreateWithPrinter(directory.Target(), printServer, printer);
    });
}

NwResult NwBiVerifyPs(const char* server, const char* printServer) {
    return RunExport({server, printServer}, [&]() -> NwResult {
        ServerConnection connection;
        const NwResult opened = connection.Open(server, false);
        return opened != kNwOk ? opened : Verify(connection.Target(), printServer, kNwBinderyReadFailed);
    });
}

NwResult NwNdsVerifyPs(char* tree, const char* printServer, const char* context) {
    return RunExport({tree, printServer, context}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectory(tree, context, directory);
        return result != kNwOk ? result : Verify(directory.Target(), printServer, kNwBrowseFailed);
    });
}
