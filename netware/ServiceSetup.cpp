#include "netware/ServiceSetup.h"

#include <string>

#include "netware/DirectoryContext.h"
#include "netware/ScanRounds.h"
#include "netware/ServerConnection.h"
#include "netware/UpperCase.h"
#include "platform/netware/NetWareClient.h"

namespace {

struct ServiceNames {
    std::string queue;
    std::string printServer;
    std::string printer;
};

// The serviced-queue entry of a queue.
plat::NwAttributeValue ServicedEntry(const std::string& queue) {
    return {queue, 1, 10};
}

// Names compare upper-cased, without one leading ".".
std::string Comparable(const std::string& name) {
    std::string text = !name.empty() && name.front() == '.' ? name.substr(1) : name;
    UpperCaseInPlace(text.data());
    return text;
}

// What a scan of a printer's values or of a print server's printers found.
enum class Found { kYes, kNo, kEndless };

// Goes through a scan from its first entry (the start's code) until an entry whose text compares equal
// to `wanted`, the scan's end, or more entries than a printer or print server holds. Ends the scan.
template <typename Entry, typename Next, typename Text>
Found ScanFinds(plat::NwCode code, plat::NwScan scan, Entry& entry, Next next, Text text,
                const std::string& wanted) {
    ScanRounds rounds;
    Found found = Found::kNo;
    for (; code == plat::kNwSuccess; code = next(scan, entry)) {
        if (Comparable(text(entry)) == Comparable(wanted)) {
            found = Found::kYes;
            break;
        }
        if (!rounds.Another()) {
            found = Found::kEndless;
            break;
        }
    }
    plat::NwScanEnd(scan);
    return found;
}

Found IsQueueServiced(const plat::NwTarget& target, const ServiceNames& names) {
    plat::NwScan scan = 0;
    plat::NwAttributeValue value;
    const plat::NwCode code = plat::NwAttributeScanStart(target, names.printServer, names.printer,
                                                         plat::kNwServicedQueues, scan, value);
    return ScanFinds(
        code, scan, value, plat::NwAttributeScanNext,
        [](const plat::NwAttributeValue& entry) { return entry.text; }, names.queue);
}

Found IsPrinterOnPrintServer(const plat::NwTarget& target, const ServiceNames& names) {
    plat::NwScan scan = 0;
    std::string name;
    const plat::NwCode code = plat::NwPrinterScanStart(target, names.printServer, scan, name);
    return ScanFinds(
        code, scan, name, plat::NwScanNext, [](const std::string& entry) { return entry; }, names.printer);
}

// A printer made here gets the client's default configuration.
NwResult EnsurePrinter(const plat::NwTarget& target, const ServiceNames& names) {
    const plat::NwAttributeValue configuration{plat::NwDefaultPrinterConfiguration(), 0, 0};
    if (target.mode == plat::NwTarget::Bindery) {
        if (plat::NwPrinterExists(target, names.printServer, names.printer) == plat::kNwSuccess) {
            return kNwOk;
        }
        plat::NwCreatePrinter(target, names.printServer, names.printer);
        return plat::NwAddAttributeValue(target, names.printServer, names.printer,
                                         plat::kNwPrinterConfiguration, configuration) == plat::kNwSuccess
                   ? kNwOk
                   : kNwPrinterNotCreated;
    }
    const Found printer = IsPrinterOnPrintServer(target, names);
    if (printer != Found::kNo) {
        return printer == Found::kYes ? kNwOk : kNwPrinterNotCreated;
    }
    if (plat::NwCreatePrinter(target, names.printServer, names.printer) != plat::kNwSuccess ||
        plat::NwAddAttributeValue(target, "", names.printer, plat::kNwPrinterConfiguration, configuration) !=
            plat::kNwSuccess) {
        return kNwPrinterNotCreated;
    }
    return kNwOk;
}

NwResult SetUp(const plat::NwTarget& target, const ServiceNames& names) {
    if (plat::NwQueueExists(target, names.queue) != plat::kNwSuccess) {
        return kNwNoSuchQueue;
    }
    if (plat::NwPrintServerExists(target, names.printServer) != plat::kNwSuccess &&
        plat::NwCreatePrintServer(target, names.printServer) != plat::kNwSuccess) {
        return kNwPrintServerNotCreated;
    }
    const NwResult printer = EnsurePrinter(target, names);
    if (printer != kNwOk) {
        return printer;
    }
    const Found serviced = IsQueueServiced(target, names);
    if (serviced != Found::kNo) {
        return serviced == Found::kYes ? kNwOk : kNwQueueNotAdded;
    }
    const plat::NwAttributeValue entry = ServicedEntry(names.queue);
    if (plat::NwAddAttributeValue(target, names.printServer, names.printer, plat::kNwServicedQueues, entry) ==
        plat::kNwSuccess) {
        return kNwOk;
    }
    if (target.mode == plat::NwTarget::Directory) {
        plat::NwRemoveAttributeValue(target, names.printServer, names.printer, plat::kNwServicedQueues,
                                     entry);
    }
    return kNwQueueNotAdded;
}

// Nothing to take off when the print server, the printer or the entry is not there.
NwResult Remove(const plat::NwTarget& target, const ServiceNames& names) {
    if (plat::NwPrintServerExists(target, names.printServer) != plat::kNwSuccess ||
        plat::NwPrinterExists(target, names.printServer, names.printer) != plat::kNwSuccess) {
        return kNwOk;
    }
    const Found serviced = IsQueueServiced(target, names);
    if (serviced != Found::kYes) {
        return serviced == Found::kNo ? kNwOk : kNwQueueNotRemoved;
    }
    return plat::NwRemoveAttributeValue(target, names.printServer, names.printer, plat::kNwServicedQueues,
                                        ServicedEntry(names.queue)) == plat::kNwSuccess
               ? kNwOk
               : kNwQueueNotRemoved;
}

ServiceNames DirectoryNames(const DirectoryService& service) {
    return {RootName(service.queue, service.queueContext),
            RootName(service.printServer, service.printServerContext),
            RootName(service.printer, service.printServerContext)};
}

}  // namespace

NwResult SetUpBinderyService(const char* server, const char* queue, const char* printServer,
                             const char* printer) {
    ServerConnection connection;
    const NwResult opened = connection.Open(server, true);
    return opened != kNwOk ? opened : SetUp(connection.Target(), {queue, printServer, printer});
}

NwResult RemoveBinderyService(const char* server, const char* queue, const char* printServer,
                              const char* printer) {
    ServerConnection connection;
    const NwResult opened = connection.Open(server, true);
    return opened != kNwOk ? opened : Remove(connection.Target(), {queue, printServer, printer});
}

NwResult SetUpDirectoryService(char* tree, const DirectoryService& service) {
    DirectoryContext directory;
    const NwResult result = OpenDirectoryToChange(tree, directory);
    return result != kNwOk ? result : SetUp(directory.Target(), DirectoryNames(service));
}

NwResult RemoveDirectoryService(char* tree, const DirectoryService& service) {
    DirectoryContext directory;
    const NwResult result = OpenDirectory(tree, "[Root]", directory);
    return result != kNwOk ? result : Remove(directory.Target(), DirectoryNames(service));
}
