// The bindery calls: connections, logins, object scans and the scans of queues and print servers.
#include <algorithm>

#include "platform/text/CaseInsensitive.h"
#include "simulator/netware/NetWareCall.h"

namespace sim {

using namespace plat;

namespace {

// Clients expect a tree name padded to this width.
constexpr std::size_t kTreeNameWidth = 32;

std::uint32_t AuthenticationValue(const NwSession& session, const BinderyServer& server,
                                  const NwSession::Attachment& attachment) {
    if (!session.loginTree.empty() && EqualsNoCase(session.loginTree, server.tree)) {
        return kNwDirectoryAuthenticated;
    }
    return !attachment.binderyUser.empty() ? kNwBinderyAuthenticated : kNwNotAuthenticated;
}

}  // namespace

void AddBinderyCalls(NetWareHandlers& handlers) {
    handlers.insert({
        {"nearest",
         [](Call& call) {
             call.out = {Present(call.state.servers.empty() ? nullptr : call.state.servers[0].get()).name};
         }},
        {"attach",
         [](Call& call) {
             BinderyServer& server = Present(call.state.Server(call.Text(0)));
             const std::int32_t number = call.session.nextConnection++;
             call.session.connections[number] = NwSession::Attachment{server.name, {}};
             call.out = {std::to_string(number), server.name};
         }},
        {"detach",
         [](Call& call) {
             call.Connection(0);
             call.session.connections.erase(call.Number(0));
         }},
        {"auth-value",
         [](Call& call) {
             call.out = {
                 std::to_string(AuthenticationValue(call.session, call.ServerOf(0), call.Connection(0)))};
         }},
        {"server-tree",
         [](Call& call) {
             const BinderyServer& server = call.ServerOf(0);
             if (server.tree.empty()) {
                 throw Failure{kNwNoTree};
             }
             std::string padded = server.tree;
             padded.resize(std::max(padded.size(), kTreeNameWidth), '_');
             call.out = {padded};
         }},
        {"bindery-login",
         [](Call& call) {
             NwSession::Attachment& attachment = call.Connection(0);
             if (call.Number(2) != kNwUserObject) {
                 throw Failure{kNwNoSuchObject};
             }
             const NwObject& user = Present(call.ServerOf(0).objects.Child(call.Text(1), NwKind::User));
             if (!PasswordMatches(user, call.Text(3))) {
                 throw Failure{kNwPasswordRefused};
             }
             attachment.binderyUser = user.name;
         }},
        {"scan-objects",
         [](Call& call) {
             BinderyServer& server = call.ServerOf(0);
             const std::int32_t type = call.Number(2);
             std::vector<std::string> names;
             if (type == kNwFileServerObject) {
                 for (const auto& known : call.state.servers) {
                     names.push_back(known->name);
                 }
             } else {
                 const std::map<std::int32_t, NwKind> kinds{{kNwUserObject, NwKind::User},
                                                            {kNwQueueObject, NwKind::Queue},
                                                            {kNwPrintServerObject, NwKind::PrintServer}};
                 auto kind = kinds.find(type);
                 if (kind != kinds.end()) {
                     names = NamesOf(server.objects.ChildrenOf(kind->second));
                 }
             }
             // Object ids are positions from 1.
             for (std::size_t i = static_cast<std::size_t>(std::max(call.Number(3), 0)); i < names.size();
                  ++i) {
                 if (Matches(call.Text(1), names[i])) {
                     call.out = {std::to_string(i + 1), names[i]};
                     return;
                 }
             }
             throw Failure{kNwNoSuchObject};
         }},
        {"queue-scan",
         [](Call& call) {
             ScanEntry(NamesOf(call.ServerOf(0).objects.ChildrenOf(NwKind::Queue)), call.Number(1), call.out);
         }},
        {"ps-scan",
         [](Call& call) {
             ScanEntry(NamesOf(call.ServerOf(0).objects.ChildrenOf(NwKind::PrintServer)), call.Number(1),
                       call.out);
         }},
    });
}

}  // namespace sim
