#pragma once

#include "netware/TessikResults.h"

// Putting a queue on a printer's serviced-queue list, and taking it off, in a bindery. The
// print server and the printer are made when missing; a queue serviced already is left as it is.
NwResult SetUpBinderyService(const char* server, const char* queue, const char* printServer,
                             const char* printer);
NwResult RemoveBinderyService(const char* server, const char* queue, const char* printServer,
                              const char* printer);
