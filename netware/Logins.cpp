#include "netware/ServerConnection.h"
#include "netware/Tessik.h"
#include "netware/UpperCase.h"

NwResult NwBiLogin(char* server, char* user, char* password) {
    return RunExport({server, user, password}, [&]() -> NwResult {
        UpperCaseInPlace(server);
        UpperCaseInPlace(user);
        UpperCaseInPlace(password);
        ServerConnection connection;
        if (connection.Open(server, false) != kNwOk) {
            return kNwCannotConnect;
        }
        const plat::NwCode code =
            plat::NwBinderyLogin(connection.Handle(), user, plat::kNwUserObject, password);
        return code == plat::kNwSuccess ? kNwOk : kNwLoginRefused;
    });
}
