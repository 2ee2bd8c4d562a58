#include "netware/ServiceSetup.h"

#include <string>

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

// Goes through a scan from its first entry (the start's code) until an entry whose text compares equal
// to `wanted`; true when one does. Ends the scan.
template <typename Entry, typename Next, typename Text>
bool ScanFinds(plat::NwCode code, plat::NwScan scan, Entry& entry, Next next, Text text,
               const std::string& wanted) {
    for (; code == plat::kNwSuccess; code = next(scan, entry)) {
        if (Comparable(text(entry)) == Comparable(wanted)) {
            break;
        }
    }
    plat::NwScanEnd(scan);
    return code == plat::kNwSuccess;
}

bool IsQueueServiced(const plat::NwTarget& target, const ServiceNames& names) {
    plat::NwScan scan = 0;
    plat::NwAttributeValue value;
    const plat::NwCode code = plat::NwAttributeScanStart(target, names.printServer, names.printer,
                                                         plat::kNwServicedQueues, scan, value);
    return ScanFinds(
        code, scan, value, plat::NwAttributeScanNext,
        [](const plat::NwAttributeValue& entry) { return entry.text; }, names.queue);
}

// A printer made here gets the client's default configuration.
NwResult EnsurePrinter(const plat::NwTarget& target, const ServiceNames& names) {
    if (plat::NwPrinterExists(target, names.printServer, names.printer) == plat::kNwSuccess) {
        return kNwOk;
    }
    plat::NwCreatePrinter(target, names.printServer, names.printer);
    return plat::NwAddAttributeValue(target, names.printServer, names.printer, plat::kNwPrinterConfiguration,
                                     {plat::NwDefaultPrinterConfiguration(), 0, 0}) == plat::kNwSuccess
               ? kNwOk
               : kNwPrinterNotCreated;
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
    if (printer != kNwOk || IsQueueServiced(target, names)) {
        return printer;
    }
    return plat::NwAddAttributeValue(target, names.printServer, names.printer, plat::kNwServicedQueues,
                                     ServicedEntry(names.queue)) == plat::kNwSuccess
               ? kNwOk
               : kNwQueueNotAdded;
}

// Nothing to take off when the print server, the printer or the entry is not there.
NwResult Remove(const plat::NwTarget& target, const ServiceNames& names) {
    if (plat::NwPrintServerExists(target, names.printServer) != plat::kNwSuccess ||
        plat::NwPrinterExists(target, names.printServer, names.printer) != plat::kNwSuccess ||
        !IsQueueServiced(target, names)) {
        return kNwOk;
    }
    return plat::NwRemoveAttributeValue(target, names.printServer, names.printer, plat::kNwServicedQueues,
                                        ServicedEntry(names.queue)) == plat::kNwSuccess
               ? kNwOk
               : kNwQueueNotRemoved;
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
