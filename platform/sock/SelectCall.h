#pragma once

#include "platform/sock/SocketLibrary.h"

namespace plat {

// select over the library's sockets: waits until one of the sets has a socket ready, or the
// time-out (null: none) has passed; leaves in each set only its ready sockets and answers their count.
int SelectSockets(FdSet* readSet, FdSet* writeSet, FdSet* exceptSet, const TimeValue* timeout);

}  // namespace plat
