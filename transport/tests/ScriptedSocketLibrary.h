#pragma once

#include <cstdint>
#include <vector>

#include "platform/sock/SocketLibrary.h"

// A socket library whose answers a test chooses and which counts what it is asked: it shows how often
// the socket transports send, wait and close, which a real socket does not tell. Loaded in place of
// "wsock32.dll"; its state is reached through ModuleSymbol(module, "ScriptState").
struct SocketScript {
    // Answers.
    bool makesSockets = true;  // socket() gives kScriptedSocket, else kInvalidSocket
    bool binds = true;
    int sendError = 0;           // 0: sendto succeeds; else it fails with this error
    bool readable = false;       // a datagram waits; else recvfrom would block and select waits in vain
    bool arrivesInWait = false;  // one arrives during the first select
    int receiveError = 0;        // 0: recvfrom gives one byte of a waiting datagram; else it fails so

    // Calls.
    int sends = 0;
    std::vector<std::uint8_t> destination{};  // the socket address of the last sendto, as given
    int receives = 0;                         // recvfrom calls, also those that would block
    std::vector<std::int32_t> waits{};        // the seconds of each select, in order
    std::vector<plat::SocketHandle> closed{};
    int cleanups = 0;
};

inline constexpr plat::SocketHandle kScriptedSocket = 7;

using ScriptStateEntry = SocketScript* (*)();
