#include "transport/tests/ScriptedSocketLibrary.h"

#include <utility>

// The entry points the socket transports use, each answering as the script says.
namespace {

SocketScript gScript;
int gLastError = 0;

int Fail(int error) {
    gLastError = error;
    return plat::kSocketError;
}

}  // namespace

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT SocketScript* vorsock_ScriptState() {
    return &gScript;
}

EXPORT int vorsock_WSAStartup(std::uint16_t, plat::SocketsData*) {
    return 0;
}

EXPORT int vorsock_WSACleanup() {
    ++gScript.cleanups;
    return 0;
}

EXPORT int vorsock_WSAGetLastError() {
    return gLastError;
}

EXPORT plat::SocketHandle vorsock_socket(int, int, int) {
    return gScript.makesSockets ? kScriptedSocket : plat::kInvalidSocket;
}

EXPORT int vorsock_closesocket(plat::SocketHandle s) {
    gScript.closed.push_back(s);
    return 0;
}

EXPORT int vorsock_ioctlsocket(plat::SocketHandle, long, std::uint32_t*) {
    return 0;
}

EXPORT int vorsock_setsockopt(plat::SocketHandle, int, int, const char*, int) {
    return 0;
}

EXPORT int vorsock_WSAAsyncSelect(plat::SocketHandle, plat::WindowHandle, std::uint32_t, long) {
    return 0;
}

EXPORT int vorsock_bind(plat::SocketHandle, const plat::SocketAddress*, int) {
    return gScript.binds ? 0 : Fail(plat::kWsaEaddrinuse);
}

EXPORT int vorsock_sendto(plat::SocketHandle, const char*, int length, int, const plat::SocketAddress* to,
                          int toLength) {
    ++gScript.sends;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(to);
    gScript.destination.assign(bytes, bytes + toLength);
    return gScript.sendError == 0 ? length : Fail(gScript.sendError);
}

EXPORT int vorsock_select(int, plat::FdSet* readSet, plat::FdSet*, plat::FdSet* exceptSet,
                          const plat::TimeValue* timeout) {
    gScript.waits.push_back(timeout != nullptr ? timeout->seconds : -1);
    gScript.readable = gScript.readable || std::exchange(gScript.arrivesInWait, false);
    if (exceptSet != nullptr) {
        plat::FdZero(*exceptSet);
    }
    if (!gScript.readable) {
        plat::FdZero(*readSet);
        return 0;
    }
    return 1;  // the one socket asked about stays in readSet
}

EXPORT int vorsock_recvfrom(plat::SocketHandle, char* buffer, int length, int, plat::SocketAddress* from,
                            int* fromLength) {
    ++gScript.receives;
    if (!gScript.readable) {
        return Fail(plat::kWsaEwouldblock);
    }
    if (gScript.receiveError != 0) {
        return Fail(gScript.receiveError);
    }
    if (length < 1) {
        return Fail(plat::kWsaEmsgsize);
    }
    buffer[0] = 'x';
    *from = plat::SocketAddress{plat::kAfIpx, {}};
    *fromLength = sizeof(plat::SocketAddressIpx);
    return 1;
}

EXPORT std::uint16_t vorsock_htons(std::uint16_t value) {
    return static_cast<std::uint16_t>((value << 8) | (value >> 8));
}

EXPORT std::uint16_t vorsock_ntohs(std::uint16_t value) {
    return vorsock_htons(value);
}
