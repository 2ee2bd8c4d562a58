#include "simulator/netware/NetWareCalls.h"

#include <charconv>
#include <functional>
#include <map>

#include "platform/text/CaseInsensitive.h"

namespace sim {

using namespace plat;

namespace {

// The request does not hold what its call needs.
struct BadRequest {};
// The call fails with this code.
struct Failure {
    NwCode code;
};

// Each listing pass fits one reply datagram, whatever buffer the client has.
constexpr std::size_t kLargestPass = 1200;
constexpr std::size_t kTreeNameWidth = 32;

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
            throw Failure{kNwBadHandle};
        }
        return it->second;
    }
    BinderyServer& ServerOf(std::size_t at) const {
        BinderyServer* server = state.Server(Connection(at).server);
        if (server == nullptr) {
            throw Failure{kNwNoConnection};
        }
        return *server;
    }
    DirectoryTree& Tree(std::size_t at) const {
        DirectoryTree* tree = state.Tree(Text(at));
        if (tree == nullptr) {
            throw Failure{kNwNoSuchObject};
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
T& Present(T* item, NwCode absent = kNwNoSuchObject) {
    if (item == nullptr) {
        throw Failure{absent};
    }
    return *item;
}

bool Matches(std::string_view pattern, std::string_view name) {
    return pattern == "*" || EqualsNoCase(pattern, name);
}

// The entry at `index` of a scan, or the end of the scan.
void ScanEntry(const std::vector<std::string>& names, std::int32_t index, std::vector<std::string>& out) {
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        throw Failure{kNwEndOfScan};
    }
    out = {names[static_cast<std::size_t>(index)]};
}

std::vector<std::string> NamesOf(const std::vector<NwObject*>& objects) {
    std::vector<std::string> names;
    for (const NwObject* object : objects) {
        names.push_back(object->name);
    }
    return names;
}

// Where a print services call works: a bindery server, or a tree and a name context. Its first three
// arguments: mode, connection number or tree, name context.
struct Place {
    BinderyServer* server = nullptr;
    DirectoryTree* tree = nullptr;
    std::string context;
};

Place PlaceOf(const Call& call) {
    if (call.Number(0) == 0) {
        return Place{&call.ServerOf(1), nullptr, {}};
    }
    return Place{nullptr, &call.Tree(1), call.Text(2)};
}

NwObject& Find(const Place& place, std::string_view name, NwKind kind) {
    const NwCode absent = kind == NwKind::PrintServer ? kNwNoPrintServer : kNwNoSuchObject;
    if (place.server != nullptr) {
        return Present(place.server->objects.Child(name, kind), absent);
    }
    NwObject* object = Resolve(*place.tree, place.context, name);
    return Present(object != nullptr && object->kind == kind ? object : nullptr, absent);
}

NwObject& Create(const Place& place, std::string_view name, NwKind kind) {
    if (place.server != nullptr) {
        return Present(place.server->objects.Add(std::string(name), kind), kNwObjectExists);
    }
    std::string leaf;
    NwObject& parent = Present(ResolveParent(*place.tree, place.context, name, leaf));
    return Present(parent.Add(leaf, kind), kNwObjectExists);
}

// The name by which other objects refer to this one.
std::string Reference(const Place& place, const NwObject& object) {
    return place.server != nullptr ? object.name : DistinguishedName(object);
}

NwObject& PrinterOf(const Place& place, std::string_view printServer, std::string_view printer) {
    if (place.server != nullptr) {
        return Present(Find(place, printServer, NwKind::PrintServer).Child(printer, NwKind::Printer));
    }
    return Find(place, printer, NwKind::Printer);
}

std::vector<ServicedQueue> ValuesOf(const NwObject& printer, std::int32_t attribute) {
    if (attribute == kNwServicedQueues) {
        return printer.serviced;
    }
    if (attribute == kNwPrinterConfiguration && !printer.configuration.empty()) {
        return {ServicedQueue{printer.configuration, 0, 0}};
    }
    return {};
}

// Arguments 3 to 8 of an attribute change: print server, printer, attribute, text, first, second.
void ChangeValue(Call& call, bool add) {
    const Place place = PlaceOf(call);
    NwObject& printer = PrinterOf(place, call.Text(3), call.Text(4));
    const std::int32_t attribute = call.Number(5);
    if (attribute == kNwPrinterConfiguration) {
        printer.configuration = add ? call.Text(6) : std::string();
        return;
    }
    if (attribute != kNwServicedQueues) {
        throw BadRequest{};
    }
    ServicedQueue value{call.Text(6), call.Number(7), call.Number(8)};
    const bool resolvable =
        place.server != nullptr || Resolve(*place.tree, place.context, value.queue) != nullptr;
    if (add || resolvable) {
        value.queue = Reference(place, Find(place, value.queue, NwKind::Queue));
    } else if (value.queue.starts_with('.')) {
        value.queue.erase(0, 1);  // a queue gone from the tree is still taken off by its name
    }
    auto same = [&](const ServicedQueue& entry) { return EqualsNoCase(entry.queue, value.queue); };
    auto it = std::find_if(printer.serviced.begin(), printer.serviced.end(), same);
    if (add) {
        if (it != printer.serviced.end()) {
            throw Failure{kNwObjectExists};
        }
        printer.serviced.push_back(value);
        return;
    }
    if (it == printer.serviced.end() || it->first != value.first || it->second != value.second) {
        throw Failure{kNwNoSuchObject};
    }
    printer.serviced.erase(it);
}

std::uint32_t AuthenticationValue(const NwSession& session, const BinderyServer& server,
                                  const NwSession::Attachment& attachment) {
    if (!session.loginTree.empty() && EqualsNoCase(session.loginTree, server.tree)) {
        return kNwDirectoryAuthenticated;
    }
    return attachment.binderyLogin ? kNwBinderyAuthenticated : kNwNotAuthenticated;
}

bool PasswordMatches(const NwObject& user, std::string_view password) {
    // Passwords compare as the client hashes them: upper-cased.
    return user.password == UpperCase(password);
}

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

using Handler = std::function<void(Call&)>;

const std::map<std::string, Handler, std::less<>>& Handlers() {
    static const std::map<std::string, Handler, std::less<>> handlers{
        {"nearest",
         [](Call& call) {
             call.out = {Present(call.state.servers.empty() ? nullptr : call.state.servers[0].get()).name};
         }},
        {"attach",
         [](Call& call) {
             BinderyServer& server = Present(call.state.Server(call.Text(0)));
             const std::int32_t number = call.session.nextConnection++;
             call.session.connections[number] = NwSession::Attachment{server.name, false};
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
             attachment.binderyLogin = true;
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
        {"queue-scan",
         [](Call& call) {
             ScanEntry(NamesOf(call.ServerOf(0).objects.ChildrenOf(NwKind::Queue)), call.Number(1), call.out);
         }},
        {"ps-scan",
         [](Call& call) {
             ScanEntry(NamesOf(call.ServerOf(0).objects.ChildrenOf(NwKind::PrintServer)), call.Number(1),
                       call.out);
         }},
        {"printer-scan",
         [](Call& call) {
             const Place place = PlaceOf(call);
             NwObject& printServer = Find(place, call.Text(3), NwKind::PrintServer);
             const std::vector<std::string> names = place.server != nullptr
                                                        ? NamesOf(printServer.ChildrenOf(NwKind::Printer))
                                                        : printServer.printers;
             ScanEntry(names, call.Number(4), call.out);
         }},
        {"create-queue",
         [](Call& call) {
             const Place place = PlaceOf(call);
             std::string volume = call.Text(4);
             if (place.tree != nullptr) {
                 volume = DistinguishedName(Find(place, volume, NwKind::Volume));
             }
             Create(place, call.Text(3), NwKind::Queue).volume = volume.empty() ? "SYS" : volume;
         }},
        {"delete-queue",
         [](Call& call) {
             NwObject& queue = Find(PlaceOf(call), call.Text(3), NwKind::Queue);
             queue.parent->Remove(&queue);
         }},
        {"queue-exists", [](Call& call) { Find(PlaceOf(call), call.Text(3), NwKind::Queue); }},
        {"create-ps", [](Call& call) { Create(PlaceOf(call), call.Text(3), NwKind::PrintServer); }},
        {"ps-exists", [](Call& call) { Find(PlaceOf(call), call.Text(3), NwKind::PrintServer); }},
        {"create-printer",
         [](Call& call) {
             const Place place = PlaceOf(call);
             NwObject& printServer = Find(place, call.Text(3), NwKind::PrintServer);
             if (place.server != nullptr) {
                 Present(printServer.Add(call.Text(4), NwKind::Printer), kNwObjectExists);
                 return;
             }
             printServer.printers.push_back(DistinguishedName(Create(place, call.Text(4), NwKind::Printer)));
         }},
        {"printer-exists", [](Call& call) { PrinterOf(PlaceOf(call), call.Text(3), call.Text(4)); }},
        {"add-value", [](Call& call) { ChangeValue(call, true); }},
        {"remove-value", [](Call& call) { ChangeValue(call, false); }},
        {"read-value",
         [](Call& call) {
             const Place place = PlaceOf(call);
             const std::vector<ServicedQueue> values =
                 ValuesOf(PrinterOf(place, call.Text(3), call.Text(4)), call.Number(5));
             const std::int32_t index = call.Number(6);
             if (index < 0 || static_cast<std::size_t>(index) >= values.size()) {
                 throw Failure{kNwEndOfScan};
             }
             const ServicedQueue& value = values[static_cast<std::size_t>(index)];
             call.out = {value.queue, std::to_string(value.first), std::to_string(value.second)};
         }},
    };
    return handlers;
}

}  // namespace

NwCode RunNetWareCall(NetWareState& state, NwSession& session, const std::vector<std::string>& fields,
                      std::vector<std::string>& out) {
    out.clear();
    if (fields.empty()) {
        return kNwBadRequest;
    }
    auto handler = Handlers().find(fields[0]);
    if (handler == Handlers().end()) {
        return kNwBadRequest;
    }
    try {
        Call call(state, session, fields, out);
        handler->second(call);
        return kNwSuccess;
    } catch (const BadRequest&) {
        out.clear();
        return kNwBadRequest;
    } catch (const Failure& failure) {
        out.clear();
        return failure.code;
    }
}

}  // namespace sim
