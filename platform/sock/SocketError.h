#pragma once

// The calling thread's last socket error, and the interface's numbers for host errors.
namespace plat {

void SetSocketError(int error);
int GetSocketError();
// Records the error and answers kSocketError, for `return Fail(kWsaEinval);`.
int Fail(int error);
// The interface's number for a host errno value (10022 for one it has no number for).
int SocketErrorFromErrno(int hostErrno);

}  // namespace plat
