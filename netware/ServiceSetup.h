#pragma once

#include "netware/TessikResults.h"

// Putting a queue on a printer's serviced-queue list, and taking it off, in a bindery or a tree. The
// print server and the printer are made when missing; a queue serviced already is left as it is.
NwResult SetUpBinderyService(const char* server, const char* queue, const char* printServer,
                             const char* printer);
NwResult RemoveBinderyService(const char* server, const char* queue, const char* printServer,
                              const char* printer);

// Directory objects by name and context; the printer lives in the print server's context.
struct DirectoryService {
    const char* queue;
    const char* queueContext;
    const char* printServer;
    const char* printServerContext;
    const char* printer;
};
NwResult SetUpDirectoryService(char* tree, const DirectoryService& service);
NwResult RemoveDirectoryService(char* tree, const DirectoryService& service);
