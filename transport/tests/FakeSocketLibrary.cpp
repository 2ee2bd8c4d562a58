// A socket library with two entry points only, to show which library a WinsockTable bound and that
// a missing entry point answers as unbound.
#include <cstdint>

#include "platform/sock/SocketLibrary.h"

extern "C" {
__attribute__((visibility("default"))) int vorsock_WSAGetLastError() {
    return 4242;
}
__attribute__((visibility("default"))) int vorsock_WSAStartup(std::uint16_t, plat::SocketsData*) {
    return 0;
}
}
