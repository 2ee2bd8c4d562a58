#pragma once

// The interface's number for a host errno, shared with the asynchronous notices.
#include "platform/window/SocketErrorNumber.h"

// The calling thread's last socket error.
namespace plat {

void SetSocketError(int error);
int GetSocketError();
// Records the error and answers kSocketError, for `return Fail(kWsaEinval);`.
int Fail(int error);

}  // namespace plat
