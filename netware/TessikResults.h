#pragma once

#include "netware/cardtable/CardServiceTable.h"

// Result codes of the NetWare helper library's exports (the console shows each as the message with
// the same id). kNwOk, kNwNoMemory and kNwNoSuchRow come with the card's service table.
inline constexpr NwResult kNwCannotConnect = 30002;  // server or tree unreachable, or a directory call failed
inline constexpr NwResult kNwLoginRefused = 30003;
inline constexpr NwResult kNwLoginExists = 30004;  // a directory login exists already
inline constexpr NwResult kNwQueueNotCreated = 30005;
inline constexpr NwResult kNwQueueNotDeleted = 30006;
inline constexpr NwResult kNwQueueScanFailed = 30007;
inline constexpr NwResult kNwPrintServerScanFailed = 30008;
inline constexpr NwResult kNwBrowseFailed = 30009;
inline constexpr NwResult kNwPrintServerNotCreated = 30010;
inline constexpr NwResult kNwQueueNotAdded = 30011;  // also: a name without context
inline constexpr NwResult kNwBinderyReadFailed = 30012;
inline constexpr NwResult kNwLoginRequired = 30013;
inline constexpr NwResult kNwQueueNotRemoved = 30014;
inline constexpr NwResult kNwPrintServerAbsent = 30015;
inline constexpr NwResult kNwDoesNotFit = 30016;  // the text does not fit the caller's buffer
inline constexpr NwResult kNwAuthenticationUnread = 30018;
inline constexpr NwResult kNwUnknownTree = 30019;
inline constexpr NwResult kNwNoSuchQueue = 30020;
inline constexpr NwResult kNwPrinterNotCreated = 30021;
