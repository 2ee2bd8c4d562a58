#include "platform/sock/SocketError.h"

#include <cerrno>
#include <utility>

#include "platform/sock/SocketLibrary.h"

namespace plat {

namespace {

thread_local int lastError = 0;

}  // namespace

void SetSocketError(int error) {
    lastError = error;
}

int GetSocketError() {
    return lastError;
}

int Fail(int error) {
    lastError = error;
    return kSocketError;
}

int SocketErrorFromErrno(int hostErrno) {
    static constexpr std::pair<int, int> kNumbers[] = {
        {EINTR, kWsaEintr},
        {EBADF, kWsaEnotsock},
        {EACCES, kWsaEacces},
        {EPERM, kWsaEacces},
        {EFAULT, kWsaEfault},
        {EINVAL, kWsaEinval},
        {EMFILE, kWsaEmfile},
        {ENFILE, kWsaEmfile},
        {EWOULDBLOCK, kWsaEwouldblock},
        {EINPROGRESS, kWsaEwouldblock},  // a connect under way answers "would block" here
        {EALREADY, kWsaEalready},
        {ENOTSOCK, kWsaEnotsock},
        {EDESTADDRREQ, kWsaEdestaddrreq},
        {EMSGSIZE, kWsaEmsgsize},
        {EPROTOTYPE, kWsaEprototype},
        {ENOPROTOOPT, kWsaEnoprotoopt},
        {EPROTONOSUPPORT, kWsaEprotonosupport},
        {ESOCKTNOSUPPORT, kWsaEsocktnosupport},
        {EOPNOTSUPP, kWsaEopnotsupp},
        {EAFNOSUPPORT, kWsaEafnosupport},
        {EADDRINUSE, kWsaEaddrinuse},
        {EADDRNOTAVAIL, kWsaEaddrnotavail},
        {ENETDOWN, kWsaEnetdown},
        {ENETUNREACH, kWsaEnetunreach},
        {ENETRESET, kWsaEnetreset},
        {ECONNABORTED, kWsaEconnaborted},
        {ECONNRESET, kWsaEconnreset},
        {EPIPE, kWsaEconnreset},  // writing to a connection the peer has closed
        {ENOBUFS, kWsaEnobufs},
        {ENOMEM, kWsaEnobufs},
        {EISCONN, kWsaEisconn},
        {ENOTCONN, kWsaEnotconn},
        {ESHUTDOWN, kWsaEshutdown},
        {ETIMEDOUT, kWsaEtimedout},
        {ECONNREFUSED, kWsaEconnrefused},
        {EHOSTDOWN, kWsaEhostdown},
        {EHOSTUNREACH, kWsaEhostunreach},
    };
    for (const auto& [host, number] : kNumbers) {
        if (host == hostErrno) {
            return number;
        }
    }
    return kWsaEinval;
}

}  // namespace plat
