#include <string>

#include "netware/ServiceSetup.h"
#include "netware/Tessik.h"

namespace {

constexpr std::int32_t kDirectoryPrintServerMode = 3;
constexpr std::int32_t kDirectoryRemotePrinterMode = 4;

// "NAME.CONTEXT" cut at its first dot; false without one.
bool SplitName(const char* text, std::string& name, std::string& context) {
    const std::string whole = text;
    const std::size_t dot = whole.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    name = whole.substr(0, dot);
    context = whole.substr(dot + 1);
    return true;
}

NwResult MoveInDirectory(char* tree, const char* queue, const char* oldPrintServer,
                         const char* newPrintServer, const char* oldPrinter, const char* newPrinter) {
    std::string queueName, queueContext, oldName, oldContext, newName, newContext;
    if (!SplitName(queue, queueName, queueContext) || !SplitName(oldPrintServer, oldName, oldContext) ||
        !SplitName(newPrintServer, newName, newContext)) {
        return kNwQueueNotAdded;
    }
    const NwResult removed = RemoveDirectoryService(
        tree, {queueName.c_str(), queueContext.c_str(), oldName.c_str(), oldContext.c_str(), oldPrinter});
    if (removed != kNwOk) {
        return removed;
    }
    return SetUpDirectoryService(
        tree, {queueName.c_str(), queueContext.c_str(), newName.c_str(), newContext.c_str(), newPrinter});
}

NwResult MoveInBindery(const char* server, const char* queue, const char* oldPrintServer,
                       const char* newPrintServer, const char* oldPrinter, const char* newPrinter) {
    const NwResult removed = RemoveBinderyService(server, queue, oldPrintServer, oldPrinter);
    return removed != kNwOk ? removed : SetUpBinderyService(server, queue, newPrintServer, newPrinter);
}

}  // namespace

NwResult NwSNMPModifyMode(const char* adapterName, char* serverOrTree, const char* queue,
                          const char* oldPrintServer, const char* newPrintServer, const char* oldPrinter,
                          const char* newPrinter, std::int32_t mode) {
    return RunExport(
        {adapterName, serverOrTree, queue, oldPrintServer, newPrintServer, oldPrinter, newPrinter},
        [&]() -> NwResult {
            const std::string prefix = std::string(serverOrTree) + "\\";
            std::int32_t index = 0;
            NwResult result = NwSNMPFindServiceRow(adapterName, (prefix + queue).c_str(),
                                                   (prefix + oldPrintServer).c_str(), &index);
            if (result != kNwOk) {
                return result;
            }
            const bool directory = mode == kDirectoryPrintServerMode || mode == kDirectoryRemotePrinterMode;
            result = directory ? MoveInDirectory(serverOrTree, queue, oldPrintServer, newPrintServer,
                                                 oldPrinter, newPrinter)
                               : MoveInBindery(serverOrTree, queue, oldPrintServer, newPrintServer,
                                               oldPrinter, newPrinter);
            if (result != kNwOk) {
                return result;
            }
            return NwSNMPChangeServiceRow(adapterName, index, mode, (prefix + newPrintServer).c_str());
        });
}
