#pragma once

#include <cstdint>

// Result codes of the NetWare client and of the simulated NetWare network behind it. 0 is success;
// the callers test some codes by value, the others only for being nonzero.
namespace plat {

using NwCode = std::int32_t;

enum : NwCode {
    kNwSuccess = 0,
    kNwNoConnection = 0x8800,       // no connection to a server of that name exists
    kNwServerUnreachable = 0x880F,  // no answer from the network
    kNwBadHandle = 0x8801,          // a connection, context, buffer or scan the client does not hold
    kNwBadRequest = 0x8836,         // a call the network could not read
    kNwClientAbsent = 0x88FF,       // no client installed (no simulated LAN)
    kNwNoTree = 0x89F0,             // the server belongs to no tree
    kNwObjectExists = 0x89EE,
    kNwNoSuchObject = 0x89FC,
    kNwPasswordRefused = 0x89DE,
    kNwAlreadyLoggedIn = 0x89DF,  // one directory login per client
    kNwEndOfEntries = 0x89FB,     // a result buffer has no further entry
    kNwEndOfScan = 30560,         // 0x7760: a print services scan has no further entry
    kNwNoPrintServer = 30561,     // 0x7761
    // A session without the right to the change: a bindery refuses the object or the property, a
    // directory refuses any change.
    kNwNoObjectDeleteRight = 0x89F4,
    kNwNoObjectCreateRight = 0x89F5,
    kNwNoPropertyWriteRight = 0x89F8,
    kNwNoAccess = -672,
};

// Bindery object types as the client passes them (byte-swapped).
enum : std::uint16_t {
    kNwUserObject = 0x0100,
    kNwQueueObject = 0x0300,
    kNwFileServerObject = 0x0400,
    kNwPrintServerObject = 0x0700,
};

// Connection information item 1, the authentication value: 0 not authenticated, 1 authenticated by
// a directory login on the server's tree, 2 by a bindery login.
enum : std::uint32_t { kNwNotAuthenticated = 0, kNwDirectoryAuthenticated = 1, kNwBinderyAuthenticated = 2 };

// Printer attributes.
enum : std::int32_t { kNwPrinterConfiguration = 3, kNwServicedQueues = 26 };

// Context flag bit the library sets before it lists or names objects.
inline constexpr std::uint32_t kNwContextFlagCanonicalize = 4;
inline constexpr std::size_t kNwDefaultConfigurationSize = 1072;

}  // namespace plat
