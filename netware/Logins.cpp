#include "netware/DirectoryContext.h"
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

NwResult NwNdsLogin(char* tree, const char* user, const char* context, const char* password) {
    return RunExport({tree, user, context, password}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectory(tree, "[Root]", directory);
        if (result != kNwOk) {
            return result;
        }
        if (plat::NwDirectoryLoginExists()) {
            return kNwLoginExists;
        }
        if (directory.SetName(context) != kNwOk) {
            return kNwCannotConnect;
        }
        return plat::NwDirectoryLogin(directory.Handle(), user, password) == plat::kNwSuccess
                   ? kNwOk
                   : kNwLoginRefused;
    });
}
