#pragma once

#include <charconv>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netware/NetWareCodes.h"
#include "simulator/netware/NetWareState.h"

// What the handlers of the simulated network's calls share: the call with its arguments, and the
// ways a handler fails.
namespace sim {

// The request does not hold what its call needs.
struct BadRequest {};
// The call fails with this code.
struct Failure {
    plat::NwCode code;
};

// One call of a client: its arguments (the request's fields after the call's name), its session and
// the reply's fields. The accessors throw BadRequest for an argument that is missing or not a number,
// Failure for a connection or tree that does not exist.
class Call {
  public:
    Call(NetWareState& state, NwSession& session, const std::vector<std::string>& fields,
         std::vector<std::string>& out)
        : state(state), session(session), out(out), fields_(fields) {}

    const std::string& Text(std::size_t at) const {
        if (at + 1 >= fields_.size()) {
            throw BadRequest{};
        }
        return fields_[at + 1];
    }
    std::int32_t Number(std::size_t at) const {
        const std::string& text = Text(at);
        std::int32_t number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error != std::errc{} || end != text.data() + text.size()) {
            throw BadRequest{};
        }
        return number;
    }
    NwSession::Attachment& Connection(std::size_t at) const {
        auto it = session.connections.find(Number(at));
        if (it == session.connections.end()) {
            throw Failure{plat::kNwBadHandle};
        }
        return it->second;
    }
    BinderyServer& ServerOf(std::size_t at) const {
        BinderyServer* server = state.Server(Connection(at).server);
        if (server == nullptr) {
            throw Failure{plat::kNwNoConnection};
        }
        return *server;
    }
    DirectoryTree& Tree(std::size_t at) const {
        DirectoryTree* tree = state.Tree(Text(at));
        if (tree == nullptr) {
            throw Failure{plat::kNwNoSuchObject};
        }
        return *tree;
    }

    NetWareState& state;
    NwSession& session;
    std::vector<std::string>& out;

  private:
    const std::vector<std::string>& fields_;
};

template <typename T>
T& Present(T* item, plat::NwCode absent = plat::kNwNoSuchObject) {
    if (item == nullptr) {
        throw Failure{absent};
    }
    return *item;
}

// "*" or the name itself, without regard to case.
bool Matches(std::string_view pattern, std::string_view name);
// The entry at `index` of a scan as the reply, or the end of the scan.
void ScanEntry(const std::vector<std::string>& names, std::int32_t index, std::vector<std::string>& out);
std::vector<std::string> NamesOf(const std::vector<NwObject*>& objects);
// Passwords compare as the client hashes them: upper-cased.
bool PasswordMatches(const NwObject& user, std::string_view password);

// Handlers by call name.
using NetWareHandlers = std::map<std::string, std::function<void(Call&)>, std::less<>>;
void AddBinderyCalls(NetWareHandlers& handlers);
void AddDirectoryCalls(NetWareHandlers& handlers);
void AddPrintServicesCalls(NetWareHandlers& handlers);

}  // namespace sim
