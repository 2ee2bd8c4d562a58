#pragma once

#include <netinet/in.h>

#include "platform/lan/LanFrame.h"
#include "platform/sock/SocketLibrary.h"

// Socket addresses of the interface to and from the host's and the segment's forms. Each answers 0 or
// the interface's error number (kWsaEfault for a short or missing address, kWsaEafnosupport for
// another family).
namespace plat {

int InetFromInterface(const SocketAddress* address, int length, sockaddr_in& host);
int InetToInterface(const sockaddr_in& host, SocketAddress* address, int* length);
// The socket number of an IPX address is in host order in IpxAddress.
int IpxFromInterface(const SocketAddress* address, int length, IpxAddress& ipx);
int IpxToInterface(const IpxAddress& ipx, SocketAddress* address, int* length);

}  // namespace plat
