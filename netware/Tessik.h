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
// Directory login with the user relative to the context. 0, 30019, 30002, 30004 (a directory login
// exists already), 30003.
TESSIK_EXPORT NwResult NwNdsLogin(char* tree, const char* user, const char* context, const char* password);

// The file servers, the trees, a server's queues (login needed) and print servers.
TESSIK_EXPORT NwResult NwListFs(char* buffer, std::uint32_t* length, std::int32_t* count);
TESSIK_EXPORT NwResult NwListTrees(char* buffer, std::uint32_t* length, std::int32_t* count);
TESSIK_EXPORT NwResult NwBiGetQueueList(const char* server, char* buffer, std::uint32_t* length,
                                        std::int32_t* count);
TESSIK_EXPORT NwResult NwBiGetPsList(const char* server, char* buffer, std::uint32_t* length,
                                     std::int32_t* count);

// The client's current name context in the tree.
TESSIK_EXPORT NwResult NwNdsGetContext(char* tree, char* buffer, std::uint32_t* length);
// The objects of the class ("1,O,") then the containers ("1,C,") directly under the context.
TESSIK_EXPORT NwResult NwNdsBrowse(char* tree, const char* context, const char* className, char* buffer,
                                   std::uint32_t* length, std::int32_t* count);
// Version 4 and the server's tree (trailing "_" cut) or version 3 and an empty text.
TESSIK_EXPORT NwResult NwGetVerInfo(const char* server, std::int32_t* version, char* tree,
                                    std::uint32_t* treeLength);
// 1 not authenticated, 2 or 4 with a directory login (4: authenticated by it), 3 without one.
TESSIK_EXPORT NwResult NwStateOfAuthentication(const char* server, std::int32_t* state);

// Queues.
TESSIK_EXPORT NwResult NwBiCreateQueue(const char* server, const char* queue);
TESSIK_EXPORT NwResult NwNdsCreateQueue(char* tree, const char* queue, const char* context,
                                        const char* volume);
TESSIK_EXPORT NwResult NwBiDeleteQueue(const char* server, const char* queue);
TESSIK_EXPORT NwResult NwNdsDeleteQueue(char* tree, const char* queue, const char* context);

// Print servers with a printer, and whether a print server is there.
TESSIK_EXPORT NwResult NwBiCreatePrintServer(const char* server, const char* printServer,
                                             const char* printer);
TESSIK_EXPORT NwResult NwNdsCreatePs(char* tree, const char* printServer, const char* context,
                                     const char* printer);
TESSIK_EXPORT NwResult NwBiVerifyPs(const char* server, const char* printServer);
TESSIK_EXPORT NwResult NwNdsVerifyPs(char* tree, const char* printServer, const char* context);

// A queue put on, or taken off, a printer's serviced list, with the card's service table row.
TESSIK_EXPORT NwResult NwBiAddSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                                      char* printServer, char* printer);
TESSIK_EXPORT NwResult NwNdsAddSerList(const char* adapterName, char* tree, const char* queue,
                                       const char* queueContext, std::int32_t mode, const char* printServer,
                                       const char* printServerContext, const char* printer);
TESSIK_EXPORT NwResult NwBiRmSerList(const char* adapterName, char* server, char* queue, std::int32_t mode,
                                     char* printServer, char* printer);
TESSIK_EXPORT NwResult NwNdsRmSerList(const char* adapterName, char* tree, const char* queue,
                                      const char* queueContext, std::int32_t mode, const char* printServer,
                                      const char* printServerContext, const char* printer);

// Moves a serviced queue to another print server and printer and sets its mode, in the directory and
// in the card's service table.
TESSIK_EXPORT NwResult NwSNMPModifyMode(const char* adapterName, char* serverOrTree, const char* queue,
                                        const char* oldPrintServer, const char* newPrintServer,
                                        const char* oldPrinter, const char* newPrinter, std::int32_t mode);
