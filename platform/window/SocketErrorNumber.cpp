#include "platform/window/SocketErrorNumber.h"

#include <cerrno>
#include <utility>

namespace plat {

int SocketErrorNumber(int hostErrno) {
    // The interface numbers its errors 10000 plus the classic Berkeley errno values. Where the host
    // has an errno of its own, or means something else by one, it takes the interface's number for
    // what happened.
    static constexpr std::pair<int, int> kNumbers[] = {
        {EINTR, 10004},
        {EBADF, 10038},  // a descriptor that is not open is no socket
        {EACCES, 10013},
        {EPERM, 10013},
        {EFAULT, 10014},
        {EINVAL, 10022},
        {EMFILE, 10024},
        {ENFILE, 10024},
        {EWOULDBLOCK, 10035},
        {EINPROGRESS, 10035},  // a connect under way: "would block" (10036 is a blocking call under way)
        {EALREADY, 10037},
        {ENOTSOCK, 10038},
        {EDESTADDRREQ, 10039},
        {EMSGSIZE, 10040},
        {EPROTOTYPE, 10041},
        {ENOPROTOOPT, 10042},
        {EPROTONOSUPPORT, 10043},
        {ESOCKTNOSUPPORT, 10044},
        {EOPNOTSUPP, 10045},
        {EAFNOSUPPORT, 10047},
        {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},
        {ENETUNREACH, 10051},
        {ENETRESET, 10052},
        {ECONNABORTED, 10053},
        {ECONNRESET, 10054},
        {EPIPE, 10054},  // the connection is gone (for a notice: reset after the peer's end of stream)
        {ENOBUFS, 10055},
        {ENOMEM, 10055},
        {EISCONN, 10056},
        {ENOTCONN, 10057},
        {ESHUTDOWN, 10058},
        {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},
        {EHOSTDOWN, 10064},
        {EHOSTUNREACH, 10065},
    };
    if (hostErrno == 0) {
        return 0;
    }
    for (const auto& [host, number] : kNumbers) {
        if (host == hostErrno) {
            return number;
        }
    }
    return 10022;
}

}  // namespace plat
