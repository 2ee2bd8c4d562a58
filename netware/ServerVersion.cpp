#include <string>

#include "netware/NameList.h"
#include "netware/ServerConnection.h"
#include "netware/Tessik.h"

namespace {

constexpr std::int32_t kBinderyOnly = 3;
constexpr std::int32_t kWithTree = 4;
constexpr std::uint32_t kTreeNameRoom = 33;

NwResult ReadVersion(const char* server, std::int32_t* version, char* tree, std::uint32_t* treeLength) {
    ServerConnection connection;
    if (connection.Open(server, false) != kNwOk) {
        return kNwCannotConnect;
    }
    std::string name;
    if (plat::NwConnectionTree(connection.Handle(), name) != plat::kNwSuccess) {
        if (treeLength == nullptr) {
            return kNwDoesNotFit;
        }
        *version = kBinderyOnly;
        tree[0] = '\0';
        return kNwOk;
    }
    name.erase(name.find_last_not_of('_') + 1);
    const NwResult result = CopyText(name, tree, treeLength);
    if (result == kNwOk) {
        *version = kWithTree;
    }
    return result;
}

}  // namespace

NwResult NwGetVerInfo(const char* server, std::int32_t* version, char* tree, std::uint32_t* treeLength) {
    return RunExport({server, version, tree},
                     [&]() -> NwResult { return ReadVersion(server, version, tree, treeLength); });
}

NwResult NwStateOfAuthentication(const char* server, std::int32_t* state) {
    return RunExport({server, state}, [&]() -> NwResult {
        ServerConnection connection;
        if (connection.Open(server, false) != kNwOk) {
            return kNwCannotConnect;
        }
        std::uint32_t value = 0;
        if (plat::NwAuthenticationValue(connection.Handle(), value) != plat::kNwSuccess) {
            return kNwAuthenticationUnread;
        }
        if (value == plat::kNwNotAuthenticated) {
            *state = 1;
            return kNwOk;
        }
        std::int32_t version = kBinderyOnly;
        char tree[kTreeNameRoom + 1] = "";
        std::uint32_t treeLength = kTreeNameRoom;
        ReadVersion(server, &version, tree, &treeLength);
        bool loggedIn = false;
        if (version == kWithTree) {
            if (plat::NwSetPreferredTree(tree) != plat::kNwSuccess) {
                return kNwAuthenticationUnread;
            }
            loggedIn = plat::NwDirectoryLoginExists();
        }
        *state = !loggedIn ? 3 : value == plat::kNwDirectoryAuthenticated ? 4 : 2;
        return kNwOk;
    });
}
