#pragma once

#include <cstddef>
#include <iterator>

namespace plat {

// The socket library's 47 entry points by the names callers look them up with, in the order of the
// binder's table (transport/WinsockTable); the library exports each as kSocketExportPrefix + name.
inline constexpr const char* kSocketEntryPoints[] = {
    "accept",
    "bind",
    "closesocket",
    "connect",
    "ioctlsocket",
    "getpeername",
    "getsockname",
    "getsockopt",
    "htonl",
    "htons",
    "inet_addr",
    "inet_ntoa",
    "listen",
    "ntohl",
    "ntohs",
    "recv",
    "recvfrom",
    "select",
    "send",
    "sendto",
    "setsockopt",
    "shutdown",
    "socket",
    "gethostbyaddr",
    "gethostbyname",
    "gethostname",
    "getservbyport",
    "getservbyname",
    "getprotobynumber",
    "getprotobyname",
    "WSAStartup",
    "WSACleanup",
    "WSASetLastError",
    "WSAGetLastError",
    "WSAIsBlocking",
    "WSAUnhookBlockingHook",
    "WSASetBlockingHook",
    "WSACancelBlockingCall",
    "WSAAsyncGetServByName",
    "WSAAsyncGetServByPort",
    "WSAAsyncGetProtoByName",
    "WSAAsyncGetProtoByNumber",
    "WSAAsyncGetHostByName",
    "WSAAsyncGetHostByAddr",
    "WSACancelAsyncRequest",
    "WSAAsyncSelect",
    "WSARecvEx",
};
inline constexpr std::size_t kSocketEntryPointCount = std::size(kSocketEntryPoints);
static_assert(kSocketEntryPointCount == 47);

}  // namespace plat
