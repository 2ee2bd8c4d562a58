#include "netware/ServerConnection.h"

ServerConnection::~ServerConnection() {
    if (!open_) {
        return;
    }
    try {
        std::uint32_t value = 0;
        if (plat::NwAuthenticationValue(connection_, value) != plat::kNwSuccess ||
            value == plat::kNwNotAuthenticated) {
            plat::NwCloseConnection(connection_);
        }
    } catch (...) {
        // A destructor may run while an exception leaves the export: nothing more may escape it.
    }
}

NwResult ServerConnection::Open(const char* server, bool loginNeeded) {
    plat::NwCode code = plat::NwConnectionByName(server, connection_);
    if (code == plat::kNwNoConnection) {
        code = plat::NwOpenConnection(server, connection_);
    }
    if (code != plat::kNwSuccess) {
        return kNwCannotConnect;
    }
    open_ = true;
    if (!loginNeeded) {
        return kNwOk;
    }
    std::uint32_t value = 0;
    if (plat::NwAuthenticationValue(connection_, value) != plat::kNwSuccess) {
        return kNwCannotConnect;
    }
    return value == plat::kNwNotAuthenticated ? kNwLoginRequired : kNwOk;
}

NwResult ServerConnection::OpenDefault() {
    if (plat::NwDefaultConnection(connection_) != plat::kNwSuccess) {
        return kNwCannotConnect;
    }
    open_ = true;
    return kNwOk;
}
