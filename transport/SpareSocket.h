#pragma once

#include "platform/sock/SocketLibrary.h"

// One bound UDP socket per thread, kept from a transport whose exchange ended clean for the thread's
// next transport: making, binding and closing a socket costs the kernel more than the whole rest of an
// exchange with a print server. Only a socket that has received an answer for every datagram it sent
// is kept, so that no late answer can reach the next exchange; one that came anyway (a duplicate) is
// read away before the socket is handed on.
namespace spare {

// The kept socket, non-blocking and bound to a port of its own, or plat::kInvalidSocket.
plat::SocketHandle TakeSocket();
// Keeps a non-blocking socket bound to port 0; false when one is kept already (the caller closes it).
bool KeepSocket(plat::SocketHandle socket);

}  // namespace spare
