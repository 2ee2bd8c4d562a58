#include <string>

#include "netware/DirectoryContext.h"
#include "netware/ServiceSetup.h"
#include "netware/Tessik.h"
#include "netware/UpperCase.h"

namespace {

// The path of a queue or print server in the card's service table: "SERVER\NAME", or in a tree
// "TREE\NAME.CONTEXT".
std::string ServicePath(const char* serverOrTree, const char* name, const char* context = nullptr) {
    std::string path = std::string(serverOrTree) + "\\" + name;
    if (context != nullptr) {
        path += std::string(".") + context;
    }
    return path;
}

// The card's row for a queue serviced through a print server: a queue that has one already gets no
// second, so that retiring it leaves nothing behind.
NwResult AddRowOnce(const char* adapterName, const std::string& queuePath, const std::string& printServerPath,
                    std::int32_t mode) {
    std::int32_t index = 0;
    const NwResult found =
        NwSNMPFindServiceRow(adapterName, queuePath.c_str(), printServerPath.c_str(), &index);
    if (found != kNwNoSuchRow) {
        return found;
    }
    return NwSNMPAddServiceRow(adapterName, queuePath.c_str(), printServerPath.c_str(), mode);
}

DirectoryService ServiceOf(const char* queue, const char* queueContext, const char* printServer,
                           const char* printServerContext, const char* printer) {
    return {queue, queueContext, printServer, printServerContext, printer};
}

}  // namespace

NwResult NwBiAddSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                        char* printServer, char* printer) {
    return RunExport({adapterName, server, queue, printServer, printer}, [&]() -> NwResult {
        for (char* text : {server, queue, printer, printServer}) {
            UpperCaseInPlace(text);
        }
        const NwResult result = SetUpBinderyService(server, queue, printServer, printer);
        return result != kNwOk ? result
                               : AddRowOnce(adapterName, ServicePath(server, queue),
                                            ServicePath(server, printServer), mode);
    });
}

NwResult NwNdsAddSerList(const char* adapterName, char* tree, const char* queue, const char* queueContext,
                         std::int32_t mode, const char* printServer, const char* printServerContext,
                         const char* printer) {
    return RunExport({adapterName, tree, queue, queueContext, printServer, printServerContext, printer},
                     [&]() -> NwResult {
                         const NwResult result = SetUpDirectoryService(
                             tree, ServiceOf(queue, queueContext, printServer, printServerContext, printer));
                         return result != kNwOk
                                    ? result
                                    : AddRowOnce(adapterName, ServicePath(tree, queue, queueContext),
                                                 ServicePath(tree, printServer, printServerContext), mode);
                     });
}

NwResult NwBiRmSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                       char* printServer, char* printer) {
    return RunExport({adapterName, server, queue, printServer, printer}, [&]() -> NwResult {
        const NwResult result = RemoveBinderyService(server, queue, printServer, printer);
        return result != kNwOk ? result
                               : NwSNMPRemoveServiceRow(adapterName, ServicePath(server, queue).c_str(),
                                                        ServicePath(server, printServer).c_str(), mode);
    });
}

NwResult NwNdsRmSerList(const char* adapterName, char* tree, const char* queue, const char* queueContext,
                        std::int32_t mode, const char* printServer, const char* printServerContext,
                        const char* printer) {
    return RunExport({adapterName, tree, queue, queueContext, printServer, printServerContext, printer},
                     [&]() -> NwResult {
                         const NwResult result = RemoveDirectoryService(
                             tree, ServiceOf(queue, queueContext, printServer, printServerContext, printer));
                         return result != kNwOk
                                    ? result
                                    : NwSNMPRemoveServiceRow(
                                          adapterName, ServicePath(tree, queue, queueContext).c_str(),
                                          ServicePath(tree, printServer, printServerContext).c_str(), mode);
                     });
}
