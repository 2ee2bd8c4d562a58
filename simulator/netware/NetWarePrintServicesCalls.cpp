// The print services calls: queues, print servers, printers and printer attributes, in a bindery or
// a tree.
#include <algorithm>

#include "platform/text/CaseInsensitive.h"
#include "simulator/netware/NetWareCall.h"

namespace sim {

using namespace plat;

namespace {

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

// The user a change is made as: the bindery login of the connection, else the directory login
// when it is to the server's tree; in a tree, the directory login to it. Null without a login.
const NwObject* ChangingUser(const Call& call, const Place& place) {
    DirectoryTree* tree = place.tree;
    if (place.server != nullptr) {
        const std::string& binderyUser = call.Connection(1).binderyUser;
        if (!binderyUser.empty()) {
            return place.server->objects.Child(binderyUser, NwKind::User);
        }
        tree = call.state.Tree(place.server->tree);
    }
    if (tree == nullptr || !EqualsNoCase(call.session.loginTree, tree->name)) {
        return nullptr;
    }
    return ResolveDistinguished(*tree, call.session.loginUser);
}

// The place of a change, which needs a supervisor's login: a bindery refuses anyone else with the
// code of what is changed, a tree with its one code for no access.
Place ChangePlaceOf(const Call& call, NwCode binderyRefusal) {
    const Place place = PlaceOf(call);
    const NwObject* user = ChangingUser(call, place);
    if (user == nullptr || user->kind != NwKind::User || user->rights != NwRights::Supervisor) {
        throw Failure{place.server != nullptr ? binderyRefusal : kNwNoAccess};
    }
    return place;
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
    const Place place = ChangePlaceOf(call, kNwNoPropertyWriteRight);
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

}  // namespace

void AddPrintServicesCalls(NetWareHandlers& handlers) {
    handlers.insert({
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
             const Place place = ChangePlaceOf(call, kNwNoObjectCreateRight);
             std::string volume = call.Text(4);
             if (place.tree != nullptr) {
                 volume = DistinguishedName(Find(place, volume, NwKind::Volume));
             }
             Create(place, call.Text(3), NwKind::Queue).volume = volume.empty() ? "SYS" : volume;
         }},
        {"delete-queue",
         [](Call& call) {
             NwObject& queue = Find(ChangePlaceOf(call, kNwNoObjectDeleteRight), call.Text(3), NwKind::Queue);
             queue.parent->Remove(&queue);
         }},
        {"queue-exists", [](Call& call) { Find(PlaceOf(call), call.Text(3), NwKind::Queue); }},
        {"create-ps",
         [](Call& call) {
             Create(ChangePlaceOf(call, kNwNoObjectCreateRight), call.Text(3), NwKind::PrintServer);
         }},
        {"ps-exists", [](Call& call) { Find(PlaceOf(call), call.Text(3), NwKind::PrintServer); }},
        {"create-printer",
         [](Call& call) {
             const Place place = ChangePlaceOf(call, kNwNoObjectCreateRight);
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
    });
}

}  // namespace sim
