#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/netware/NetWareDirectory.h"

namespace sim {

// One client of the network, known by the session number its requests carry.
struct NwSession {
    struct Attachment {
        std::string server;
        std::string binderyUser;  // the user logged in on it; empty without
    };
    std::map<std::int32_t, Attachment> connections;
    std::int32_t nextConnection = 1;
    std::string loginTree;  // the client's one directory login; empty without
    std::string loginUser;
};

// A call that fails with `code` when it is made the `remaining`-th time from now.
struct NwFault {
    std::string call;
    std::uint32_t remaining = 1;
    std::int32_t code = 0;
};

struct NetWareState {
    std::vector<std::unique_ptr<BinderyServer>> servers;  // the first is the clients' nearest server
    std::vector<std::unique_ptr<DirectoryTree>> trees;
    std::map<std::uint32_t, NwSession> sessions;
    std::size_t entriesPerPass = 4;  // names in one pass of a listing
    std::vector<NwFault> faults;
    std::deque<std::string> log;  // "call arguments -> code", one per call carried out

    BinderyServer* Server(std::string_view name);
    DirectoryTree* Tree(std::string_view name);
};

}  // namespace sim
