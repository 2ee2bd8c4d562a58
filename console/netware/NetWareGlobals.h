#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The console globals through which the NetWare set-up dialogs take their inputs and give their
// results: the opener fills a dialog's inputs, shows it modally and reads its results. A 16-bit flag
// of -1 means true, 0 false.
namespace console {

// Login: 1 a bindery file server, 2 a file server in a tree (the check box chooses), 3 a tree; after
// a login the kind used. NwLoginResult 0 logged in, -1 refused or cancelled.
inline int16_t NwLoginKind = 1;
inline QString NwLoginServer;
inline QString NwLoginTree;
inline QString NwLoginContext;
inline int16_t NwLoginResult = -1;

// Create queue: inputs, then whether a queue was made (-1) and its name.
inline int16_t CrQueueBindery = 0;
inline QString CrQueueServer;
inline QString CrQueueTree;
inline QString CrQueueContext;
inline int16_t CrQueueCreated = 0;
inline QString CrQueueName;

// Print mode: inputs, then OK (-1) or Cancel (0), the mode chosen (a NetWareMode) and its print server.
inline QString PrintModeQueue;
inline int16_t PrintModeBindery = 0;
inline QString PrintModeServer;
inline QString PrintModeTree;
inline QString PrintModeContext;
inline int16_t PrintModeAccepted = 0;
inline int16_t PrintModeChoice = 0;
inline QString PrintModePrintServer;

// How the card is to service one queue, as the print mode dialog last chose it.
struct QueueModeEntry {
    QString QueueName;
    int16_t Bindery = 0;
    QString FileServer;
    QString Tree;
    int16_t Mode = 0;
    QString PrintServer;
    QString PrintServerContext;
};
inline std::vector<QueueModeEntry> QueueModeTable;

// Browse: "CONTEXT", "VOLUME" or "PRINT SERVER"; -1 in BrowseBindery lists a file server's print
// servers. Results: OK (-1) or Cancel (0), the choice and the chosen print server's context.
inline QString BrowseMode;
inline int16_t BrowseBindery = 0;
inline QString BrowseFileServer;
inline QString BrowseTree;
inline QString BrowseContext;
inline int16_t BrowseAccepted = 0;
inline QString BrowseChoice;
inline QString BrowseChoiceContext;

// While -1, the messages with several causes go to the NetWare error dialog, which shows NwErrorId.
inline int16_t NwErrorDialogFlag = 0;
inline int32_t NwErrorId = 0;

}  // namespace console
