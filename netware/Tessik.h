#pragma once

#include <cstdint>

#include "netware/ExportBoundary.h"
#include "netware/TessikResults.h"

// Exports of the NetWare helper library (libtessik.so), with the card's service table exports of
// netware/cardtable. Lists come as NameList texts in the caller's buffer: *length is in the
// characters the buffer takes besides the NUL, out the text's length; *count the records. Texts
// said to be upper-cased are changed in the caller's buffer.

// Bindery login: server, user and password upper-cased. 0, 30002, 30003.
TESSIK_EXPORT NwResult NwBiLogin(char* server, char* user, char* password);

// The file servers, a server's queues (login needed) and print servers.
TESSIK_EXPORT NwResult NwListFs(char* buffer, std::uint32_t* length, std::int32_t* count);
TESSIK_EXPORT NwResult NwBiGetQueueList(const char* server, char* buffer, std::uint32_t* length,
                                        std::int32_t* count);
TESSIK_EXPORT NwResult NwBiGetPsList(const char* server, char* buffer, std::uint32_t* length,
                                     std::int32_t* count);

// Version 4 and the server's tree (trailing "_" cut) or version 3 and an empty text.
TESSIK_EXPORT NwResult NwGetVerInfo(const char* server, std::int32_t* version, char* tree,
                                    std::uint32_t* treeLength);

// Queues.
TESSIK_EXPORT NwResult NwBiCreateQueue(const char* server, const char* queue);
TESSIK_EXPORT NwResult NwBiDeleteQueue(const char* server, const char* queue);

// Print servers with a printer, and whether a print server is there.
TESSIK_EXPORT NwResult NwBiCreatePrintServer(const char* server, const char* printServer,
                                             const char* printer);
TESSIK_EXPORT NwResult NwBiVerifyPs(const char* server, const char* printServer);

// A queue put on, or taken off, a printer's serviced list, with the card's service table row.
TESSIK_EXPORT NwResult NwBiAddSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                                      char* printServer, char* printer);
TESSIK_EXPORT NwResult NwBiRmSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                                     char* printServer, char* printer);
