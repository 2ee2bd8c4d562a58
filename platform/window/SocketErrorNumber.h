#pragma once

namespace plat {

// The socket interface's number (10000 and up) for a host errno value, for the socket library's
// errors and for asynchronous socket notices alike; 0 stays 0, an errno the interface does not know
// gives 10022 (invalid argument).
int SocketErrorNumber(int hostErrno);

}  // namespace plat
