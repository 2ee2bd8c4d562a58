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
