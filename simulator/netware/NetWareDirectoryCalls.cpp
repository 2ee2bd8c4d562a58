// The directory calls: trees, contexts, the directory login and the listings.
#include <algorithm>

#include "simulator/netware/NetWareCall.h"

namespace sim {

using namespace plat;

namespace {

// Each listing pass fits one reply datagram, whatever buffer the client has.
constexpr std::size_t kLargestPass = 1200;

// One pass of a listing of the kind under the base: the names from the iterator on that fit, then
// the next iterator (-1 after the last).
void ListPass(Call& call, NwKind kind, std::size_t iteratorAt) {
    DirectoryTree& tree = call.Tree(0);
    NwObject& base = Present(Resolve(tree, call.Text(1), call.Text(2)));
    const std::vector<NwObject*> objects = base.ChildrenOf(kind);
    std::size_t index = static_cast<std::size_t>(std::max(call.Number(iteratorAt), 0));
    const std::size_t budget = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(call.Number(iteratorAt + 1), 0)), kLargestPass);
    std::vector<std::string> names;
    std::size_t used = 0;
    while (index < objects.size() && names.size() < call.state.entriesPerPass &&
           used + objects[index]->name.size() + 2 <= budget) {
        used += objects[index]->name.size() + 2;
        names.push_back(objects[index++]->name);
    }
    if (names.empty() && index < objects.size()) {
        throw Failure{kNwBadRequest};  // the buffer cannot take even one name
    }
    call.out = {std::to_string(index < objects.size() ? static_cast<std::int32_t>(index) : -1)};
    call.out.insert(call.out.end(), names.begin(), names.end());
}

}  // namespace

void AddDirectoryCalls(NetWareHandlers& handlers) {
    handlers.insert({
        {"tree-exists", [](Call& call) { call.out = {call.Tree(0).name}; }},
        {"tree-scan",
         [](Call& call) {
             const auto& trees = call.state.trees;
             const std::int32_t after = call.Number(1);
             for (std::size_t i = after < 0 ? 0 : static_cast<std::size_t>(after) + 1; i < trees.size();
                  ++i) {
                 if (Matches(call.Text(0), trees[i]->name)) {
                     call.out = {std::to_string(i), trees[i]->name};
                     return;
                 }
             }
             throw Failure{kNwNoSuchObject};
         }},
        {"current-context", [](Call& call) { call.out = {call.Tree(0).currentContext}; }},
        {"container-exists",
         [](Call& call) {
             const NwObject& container = Present(ResolveDistinguished(call.Tree(0), call.Text(1)));
             if (container.kind != NwKind::Container) {
                 throw Failure{kNwNoSuchObject};
             }
         }},
        {"login-exists", [](Call& call) { call.out = {call.session.loginTree.empty() ? "0" : "1"}; }},
        {"directory-login",
         [](Call& call) {
             DirectoryTree& tree = call.Tree(0);
             if (!call.session.loginTree.empty()) {
                 throw Failure{kNwAlreadyLoggedIn};
             }
             NwObject* user = Resolve(tree, call.Text(1), call.Text(2));
             if (user == nullptr || user->kind != NwKind::User) {
                 throw Failure{kNwNoSuchObject};
             }
             if (!PasswordMatches(*user, call.Text(3))) {
                 throw Failure{kNwPasswordRefused};
             }
             call.session.loginTree = tree.name;
             call.session.loginUser = DistinguishedName(*user);
         }},
        {"list-objects",
         [](Call& call) {
             NwKind kind = NwKind::Container;
             if (!KindOfClass(call.Text(3), kind)) {
                 call.Tree(0);
                 call.out = {"-1"};  // no objects of a class the tree does not have
                 return;
             }
             ListPass(call, kind, 4);
         }},
        {"list-containers", [](Call& call) { ListPass(call, NwKind::Container, 3); }},
    });
}

}  // namespace sim
