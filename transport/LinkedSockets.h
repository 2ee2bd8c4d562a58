#pragma once

#include "platform/sock/SocketLibrary.h"
#include "transport/SpareSocket.h"

// The socket library that a deliverable links against, with the same methods as a WinsockTable, so
// that the socket transports are written once for both: one forwarder per entry point of the list.
struct LinkedSockets {
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure) \
    Result(name) parameters {                                       \
        return vorsock_##name arguments;                            \
    }
#include "platform/sock/SocketEntryPoints.def"
    // The thread's spare socket (SpareSocket.h): only a linked library's sockets outlive their transport.
    plat::SocketHandle TakeSpare() { return spare::TakeSocket(); }
    bool KeepSpare(plat::SocketHandle s) { return spare::KeepSocket(s); }
};
