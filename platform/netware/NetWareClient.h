#pragma once

#include <cstdint>
#include <string>

#include "platform/netware/NetWareCodes.h"

// The NetWare client calls the NetWare helper library makes: connections by server name, bindery
// login and object scans, directory contexts, trees, listings into result buffers, directory login,
// and the print services' queues, print servers, printers and their attributes. The client runs in
// process and talks to the simulated NetWare network over the simulated LAN; without a LAN no client
// is installed. Handles are small numbers valid in this process; every call may come from any thread.
namespace plat {

using NwConnection = std::uint32_t;
using NwContext = std::uint32_t;
using NwResultBuffer = std::uint32_t;
using NwScan = std::uint32_t;

// 0, or kNwClientAbsent when this machine has no NetWare client (VORLANE_LAN unset).
NwCode NwInitializeClient();

// Connections.
NwCode NwConnectionByName(const std::string& server, NwConnection& connection);  // kNwNoConnection
NwCode NwOpenConnection(const std::string& server, NwConnection& connection);
// The client's first open connection; with none, one to the network's nearest server.
NwCode NwDefaultConnection(NwConnection& connection);
NwCode NwCloseConnection(NwConnection connection);
NwCode NwAuthenticationValue(NwConnection connection, std::uint32_t& value);
// The server's directory tree name as the server gives it (padded with "_"), or kNwNoTree.
NwCode NwConnectionTree(NwConnection connection, std::string& tree);

// Bindery.
NwCode NwBinderyLogin(NwConnection connection, const std::string& user, std::uint16_t type,
                      const std::string& password);
// The next object after `objectId` (-1: from the start) whose type and name match; nonzero at the end.
NwCode NwScanBinderyObject(NwConnection connection, const std::string& pattern, std::uint16_t type,
                           std::int32_t& objectId, std::string& name);

// Directory contexts: a context takes the preferred tree and, until one is written, that tree's current
// name context.
NwCode NwCreateContext(NwContext& context);
NwCode NwFreeContext(NwContext context);
NwCode NwReadContextFlags(NwContext context, std::uint32_t& flags);
NwCode NwWriteContextFlags(NwContext context, std::uint32_t flags);
NwCode NwReadNameContext(NwContext context, std::string& name);
// The name context must name a container of the tree ("[Root]" included).
NwCode NwWriteNameContext(NwContext context, const std::string& name);

// Trees.
NwCode NwSetPreferredTree(const std::string& tree);  // the tree must exist
// The next tree after `iterator` (-1: from the start) matching the pattern; nonzero at the end.
NwCode NwScanTrees(NwContext context, NwConnection connection, const std::string& pattern,
                   std::int32_t& iterator, std::string& tree);

// Directory login: one per client.
bool NwDirectoryLoginExists();
NwCode NwDirectoryLogin(NwContext context, const std::string& user, const std::string& password);

// Listings: each pass fills the result buffer and moves the iterator (-1 at the start and after the
// last pass). An empty base names the context itself; the class compares without regard to case.
NwCode NwAllocateResultBuffer(std::size_t size, NwResultBuffer& buffer);
NwCode NwFreeResultBuffer(NwResultBuffer buffer);
NwCode NwListObjects(NwContext context, const std::string& base, const std::string& objectClass,
                     std::int32_t& iterator, NwResultBuffer buffer);
NwCode NwListContainers(NwContext context, const std::string& base, std::int32_t& iterator,
                        NwResultBuffer buffer);
NwCode NwResultEntryCount(NwResultBuffer buffer, std::uint32_t& count);
// The next entry of the last pass; kNwEndOfEntries past the last.
NwCode NwResultEntryName(NwResultBuffer buffer, std::string& name);

// Print services. A target is a bindery connection or a directory context (names then relative to
// its name context, or from the root with a leading ".").
struct NwTarget {
    enum Mode : std::int32_t { Bindery = 0, Directory = 1 } mode = Bindery;
    std::uint32_t handle = 0;
};

// Scans of a server's queues and print servers (bindery) and of a print server's printers: the first
// entry with the start, kNwEndOfScan after the last.
NwCode NwQueueScanStart(NwConnection connection, NwScan& scan, std::string& name);
NwCode NwPrintServerScanStart(NwConnection connection, NwScan& scan, std::string& name);
NwCode NwPrinterScanStart(const NwTarget& target, const std::string& printServer, NwScan& scan,
                          std::string& name);
NwCode NwScanNext(NwScan scan, std::string& name);
NwCode NwScanEnd(NwScan scan);

NwCode NwCreateQueue(const NwTarget& target, const std::string& queue, const std::string& volume);
NwCode NwDeleteQueue(const NwTarget& target, const std::string& queue);
NwCode NwQueueExists(const NwTarget& target, const std::string& queue);
NwCode NwCreatePrintServer(const NwTarget& target, const std::string& printServer);
NwCode NwPrintServerExists(const NwTarget& target, const std::string& printServer);  // kNwNoPrintServer
NwCode NwCreatePrinter(const NwTarget& target, const std::string& printServer, const std::string& printer);
NwCode NwPrinterExists(const NwTarget& target, const std::string& printServer, const std::string& printer);

// A value of a printer attribute: the configuration record (its bytes in `text`) or a serviced queue
// (its name and two numbers).
struct NwAttributeValue {
    std::string text;
    std::int32_t first = 0;
    std::int32_t second = 0;
};
NwCode NwAddAttributeValue(const NwTarget& target, const std::string& printServer, const std::string& printer,
                           std::int32_t attribute, const NwAttributeValue& value);
NwCode NwRemoveAttributeValue(const NwTarget& target, const std::string& printServer,
                              const std::string& printer, std::int32_t attribute,
                              const NwAttributeValue& value);
// The first value (the start) and each next one; kNwEndOfScan after the last.
NwCode NwAttributeScanStart(const NwTarget& target, const std::string& printServer,
                            const std::string& printer, std::int32_t attribute, NwScan& scan,
                            NwAttributeValue& value);
NwCode NwAttributeScanNext(NwScan scan, NwAttributeValue& value);

// The client's default printer configuration record (kNwDefaultConfigurationSize bytes).
std::string NwDefaultPrinterConfiguration();

}  // namespace plat
