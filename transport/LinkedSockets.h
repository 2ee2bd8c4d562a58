#pragma once

#include "platform/sock/SocketLibrary.h"
#include "transport/SpareSocket.h"

// The socket library that a deliverable links against, with the same methods as a WinsockTable, so
// that the socket transports are written once for both.
struct LinkedSockets {
    int WSAStartup(std::uint16_t version, plat::SocketsData* data) {
        return vorsock_WSAStartup(version, data);
    }
    int WSACleanup() { return vorsock_WSACleanup(); }
    int WSAGetLastError() { return vorsock_WSAGetLastError(); }
    plat::SocketHandle socket(int family, int type, int protocol) {
        return vorsock_socket(family, type, protocol);
    }
    int closesocket(plat::SocketHandle s) { return vorsock_closesocket(s); }
    int ioctlsocket(plat::SocketHandle s, long command, std::uint32_t* argument) {
        return vorsock_ioctlsocket(s, command, argument);
    }
    int setsockopt(plat::SocketHandle s, int level, int option, const char* value, int valueLength) {
        return vorsock_setsockopt(s, level, option, value, valueLength);
    }
    int WSAAsyncSelect(plat::SocketHandle s, plat::WindowHandle window, std::uint32_t message, long events) {
        return vorsock_WSAAsyncSelect(s, window, message, events);
    }
    int bind(plat::SocketHandle s, const plat::SocketAddress* address, int addressLength) {
        return vorsock_bind(s, address, addressLength);
    }
    int getsockname(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength) {
        return vorsock_getsockname(s, address, addressLength);
    }
    int sendto(plat::SocketHandle s, const char* buffer, int length, int flags, const plat::SocketAddress* to,
               int toLength) {
        return vorsock_sendto(s, buffer, length, flags, to, toLength);
    }
    int recvfrom(plat::SocketHandle s, char* buffer, int length, int flags, plat::SocketAddress* from,
                 int* fromLength) {
        return vorsock_recvfrom(s, buffer, length, flags, from, fromLength);
    }
    int select(int ignored, plat::FdSet* readSet, plat::FdSet* writeSet, plat::FdSet* exceptSet,
               const plat::TimeValue* timeout) {
        return vorsock_select(ignored, readSet, writeSet, exceptSet, timeout);
    }
    std::uint16_t htons(std::uint16_t value) { return vorsock_htons(value); }
    // The thread's spare socket (SpareSocket.h): only a linked library's sockets outlive their transport.
    plat::SocketHandle TakeSpare() { return spare::TakeSocket(); }
    bool KeepSpare(plat::SocketHandle s) { return spare::KeepSocket(s); }
    std::uint16_t ntohs(std::uint16_t value) { return vorsock_ntohs(value); }
};
