#pragma once

namespace plat {

// The socket interface's number (10000 and up) for a host errno value, as asynchronous socket
// notices carry it; 0 stays 0, an errno the interface does not know gives 10022.
int SocketErrorNumber(int hostErrno);

}  // namespace plat
