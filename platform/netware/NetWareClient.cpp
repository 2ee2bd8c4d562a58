#include "platform/netware/NetWareClient.h"

#include <charconv>
#include <map>
#include <mutex>
#include <vector>

#include "platform/lan/LanSettings.h"
#include "platform/netware/NetWareLink.h"
#include "platform/text/CaseInsensitive.h"

namespace plat {

namespace {

struct Connection {
    std::string server;  // as the network spells it
    std::string number;  // the network's connection number
};

struct Context {
    std::string tree;
    std::uint32_t flags = 0;
    std::string nameContext;  // empty: the tree's current context, as the network keeps it
};

struct ResultBuffer {
    std::size_t size = 0;
    std::vector<std::string> entries;
    std::size_t next = 0;
};

// A scan goes through the network's entries by index, one call per entry.
struct Scan {
    std::string call;
    std::vector<std::string> arguments;
    std::int32_t index = 0;
};

template <typename Item>
class HandleTable {
  public:
    std::uint32_t Add(Item item) {
        items_.emplace(next_, std::move(item));
        return next_++;
    }
    Item* Find(std::uint32_t handle) {
        auto it = items_.find(handle);
        return it == items_.end() ? nullptr : &it->second;
    }
    bool Remove(std::uint32_t handle) { return items_.erase(handle) == 1; }
    std::map<std::uint32_t, Item>& Items() { return items_; }

  private:
    std::map<std::uint32_t, Item> items_;
    std::uint32_t next_ = 1;
};

struct Client {
    std::mutex lock;
    NetWareLink link;
    HandleTable<Connection> connections;
    HandleTable<Context> contexts;
    HandleTable<ResultBuffer> buffers;
    HandleTable<Scan> scans;
    std::string preferredTree;
};

// Every call holds the client for its whole length.
class Locked {
  public:
    Locked() : guard_(Instance().lock) {}
    Client* operator->() { return &Instance(); }

  private:
    static Client& Instance() {
        static Client client;
        return client;
    }
    std::lock_guard<std::mutex> guard_;
};

std::string Text(std::int64_t number) {
    return std::to_string(number);
}

template <typename Number>
bool ReadNumber(const std::vector<std::string>& fields, std::size_t at, Number& number) {
    if (fields.size() <= at) {
        return false;
    }
    const std::string& text = fields[at];
    return std::from_chars(text.data(), text.data() + text.size(), number).ec == std::errc{};
}

NwCode OpenLocked(Locked& client, const std::string& server, NwConnection& connection) {
    std::vector<std::string> out;
    const NwCode code = client->link.Call("attach", {server}, &out);
    if (code != kNwSuccess) {
        return code;
    }
    if (out.size() < 2) {
        return kNwBadRequest;
    }
    connection = client->connections.Add(Connection{out[1], out[0]});
    return kNwSuccess;
}

// The leading arguments of a print services call: mode, then the connection number, or the tree and
// the name context.
NwCode TargetArguments(Locked& client, const NwTarget& target, std::vector<std::string>& arguments) {
    if (target.mode == NwTarget::Bindery) {
        const Connection* connection = client->connections.Find(target.handle);
        if (connection == nullptr) {
            return kNwBadHandle;
        }
        arguments = {"0", connection->number, ""};
        return kNwSuccess;
    }
    const Context* context = client->contexts.Find(target.handle);
    if (context == nullptr) {
        return kNwBadHandle;
    }
    arguments = {"1", context->tree, context->nameContext};
    return kNwSuccess;
}

NwCode TargetCall(const NwTarget& target, const std::string& call, const std::vector<std::string>& names,
                  std::vector<std::string>* out = nullptr) {
    Locked client;
    std::vector<std::string> arguments;
    const NwCode code = TargetArguments(client, target, arguments);
    if (code != kNwSuccess) {
        return code;
    }
    arguments.insert(arguments.end(), names.begin(), names.end());
    return client->link.Call(call, arguments, out);
}

NwCode ScanNextLocked(Locked& client, NwScan handle, std::vector<std::string>& out) {
    Scan* scan = client->scans.Find(handle);
    if (scan == nullptr) {
        return kNwBadHandle;
    }
    std::vector<std::string> arguments = scan->arguments;
    arguments.push_back(Text(scan->index));
    const NwCode code = client->link.Call(scan->call, arguments, &out);
    if (code == kNwSuccess) {
        ++scan->index;
        return out.empty() ? kNwBadRequest : kNwSuccess;
    }
    return code;
}

// Starts a scan and reads its first entry; a scan that ends there is not kept.
NwCode ScanStart(Locked& client, Scan scan, NwScan& handle, std::vector<std::string>& out) {
    handle = client->scans.Add(std::move(scan));
    const NwCode code = ScanNextLocked(client, handle, out);
    if (code != kNwSuccess) {
        client->scans.Remove(handle);
        handle = 0;
    }
    return code;
}

NwCode NameScanStart(Scan scan, NwScan& handle, std::string& name) {
    Locked client;
    std::vector<std::string> out;
    const NwCode code = ScanStart(client, std::move(scan), handle, out);
    if (code == kNwSuccess) {
        name = out[0];
    }
    return code;
}

NwCode BinderyScanStart(const char* call, NwConnection connection, NwScan& scan, std::string& name) {
    std::string number;
    {
        Locked client;
        const Connection* found = client->connections.Find(connection);
        if (found == nullptr) {
            return kNwBadHandle;
        }
        number = found->number;
    }
    return NameScanStart(Scan{call, {number}}, scan, name);
}

std::vector<std::string> ValueArguments(const std::string& printServer, const std::string& printer,
                                        std::int32_t attribute, const NwAttributeValue& value) {
    return {printServer, printer, Text(attribute), value.text, Text(value.first), Text(value.second)};
}

NwCode ReadValue(NwCode code, const std::vector<std::string>& out, NwAttributeValue& value) {
    if (code != kNwSuccess) {
        return code;
    }
    if (out.size() < 3 || !ReadNumber(out, 1, value.first) || !ReadNumber(out, 2, value.second)) {
        return kNwBadRequest;
    }
    value.text = out[0];
    return kNwSuccess;
}

}  // namespace

NwCode NwInitializeClient() {
    return LanConfigured() ? kNwSuccess : kNwClientAbsent;
}

NwCode NwConnectionByName(const std::string& server, NwConnection& connection) {
    Locked client;
    for (const auto& [handle, open] : client->connections.Items()) {
        if (EqualsNoCase(open.server, server)) {
            connection = handle;
            return kNwSuccess;
        }
    }
    return kNwNoConnection;
}

NwCode NwOpenConnection(const std::string& server, NwConnection& connection) {
    Locked client;
    return OpenLocked(client, server, connection);
}

NwCode NwDefaultConnection(NwConnection& connection) {
    Locked client;
    if (!client->connections.Items().empty()) {
        connection = client->connections.Items().begin()->first;
        return kNwSuccess;
    }
    std::vector<std::string> out;
    const NwCode code = client->link.Call("nearest", {}, &out);
    if (code != kNwSuccess) {
        return code;
    }
    return out.empty() ? kNwBadRequest : OpenLocked(client, out[0], connection);
}

NwCode NwCloseConnection(NwConnection connection) {
    Locked client;
    const Connection* open = client->connections.Find(connection);
    if (open == nullptr) {
        return kNwBadHandle;
    }
    const std::string number = open->number;
    client->connections.Remove(connection);
    return client->link.Call("detach", {number});
}

namespace {

NwCode ConnectionCall(NwConnection connection, const std::string& call, std::vector<std::string> arguments,
                      std::vector<std::string>* out = nullptr) {
    Locked client;
    const Connection* open = client->connections.Find(connection);
    if (open == nullptr) {
        return kNwBadHandle;
    }
    arguments.insert(arguments.begin(), open->number);
    return client->link.Call(call, arguments, out);
}

NwCode OneField(NwCode code, const std::vector<std::string>& out, std::string& field) {
    if (code == kNwSuccess) {
        if (out.empty()) {
            return kNwBadRequest;
        }
        field = out[0];
    }
    return code;
}

}  // namespace

NwCode NwAuthenticationValue(NwConnection connection, std::uint32_t& value) {
    std::vector<std::string> out;
    const NwCode code = ConnectionCall(connection, "auth-value", {}, &out);
    if (code == kNwSuccess && !ReadNumber(out, 0, value)) {
        return kNwBadRequest;
    }
    return code;
}

NwCode NwConnectionTree(NwConnection connection, std::string& tree) {
    std::vector<std::string> out;
    const NwCode code = ConnectionCall(connection, "server-tree", {}, &out);
    return OneField(code, out, tree);
}

NwCode NwBinderyLogin(NwConnection connection, const std::string& user, std::uint16_t type,
                      const std::string& password) {
    return ConnectionCall(connection, "bindery-login", {user, Text(type), password});
}

NwCode NwScanBinderyObject(NwConnection connection, const std::string& pattern, std::uint16_t type,
                           std::int32_t& objectId, std::string& name) {
    std::vector<std::string> out;
    const NwCode code =
        ConnectionCall(connection, "scan-objects", {pattern, Text(type), Text(objectId)}, &out);
    if (code != kNwSuccess) {
        return code;
    }
    if (out.size() < 2 || !ReadNumber(out, 0, objectId)) {
        return kNwBadRequest;
    }
    name = out[1];
    return kNwSuccess;
}

NwCode NwCreateContext(NwContext& context) {
    Locked client;
    context = client->contexts.Add(Context{client->preferredTree, 0, ""});
    return kNwSuccess;
}

NwCode NwFreeContext(NwContext context) {
    Locked client;
    return client->contexts.Remove(context) ? kNwSuccess : kNwBadHandle;
}

NwCode NwReadContextFlags(NwContext context, std::uint32_t& flags) {
    Locked client;
    const Context* found = client->contexts.Find(context);
    if (found == nullptr) {
        return kNwBadHandle;
    }
    flags = found->flags;
    return kNwSuccess;
}

NwCode NwWriteContextFlags(NwContext context, std::uint32_t flags) {
    Locked client;
    Context* found = client->contexts.Find(context);
    if (found == nullptr) {
        return kNwBadHandle;
    }
    found->flags = flags;
    return kNwSuccess;
}

NwCode NwReadNameContext(NwContext context, std::string& name) {
    Locked client;
    const Context* found = client->contexts.Find(context);
    if (found == nullptr) {
        return kNwBadHandle;
    }
    if (!found->nameContext.empty() || found->tree.empty()) {
        name = found->nameContext.empty() ? "[Root]" : found->nameContext;
        return kNwSuccess;
    }
    std::vector<std::string> out;
    return OneField(client->link.Call("current-context", {found->tree}, &out), out, name);
}

NwCode NwWriteNameContext(NwContext context, const std::string& name) {
    Locked client;
    Context* found = client->contexts.Find(context);
    if (found == nullptr) {
        return kNwBadHandle;
    }
    const NwCode code = client->link.Call("container-exists", {found->tree, name});
    if (code == kNwSuccess) {
        found->nameContext = name;
    }
    return code;
}

NwCode NwSetPreferredTree(const std::string& tree) {
    Locked client;
    std::vector<std::string> out;
    return OneField(client->link.Call("tree-exists", {tree}, &out), out, client->preferredTree);
}

NwCode NwScanTrees(NwContext context, NwConnection connection, const std::string& pattern,
                   std::int32_t& iterator, std::string& tree) {
    Locked client;
    if (client->contexts.Find(context) == nullptr || client->connections.Find(connection) == nullptr) {
        return kNwBadHandle;
    }
    std::vector<std::string> out;
    const NwCode code = client->link.Call("tree-scan", {pattern, Text(iterator)}, &out);
    if (code != kNwSuccess) {
        return code;
    }
    if (out.size() < 2 || !ReadNumber(out, 0, iterator)) {
        return kNwBadRequest;
    }
    tree = out[1];
    return kNwSuccess;
}

bool NwDirectoryLoginExists() {
    Locked client;
    std::vector<std::string> out;
    return client->link.Call("login-exists", {}, &out) == kNwSuccess && !out.empty() && out[0] == "1";
}

NwCode NwDirectoryLogin(NwContext context, const std::string& user, const std::string& password) {
    Locked client;
    const Context* found = client->contexts.Find(context);
    if (found == nullptr) {
        return kNwBadHandle;
    }
    return client->link.Call("directory-login", {found->tree, found->nameContext, user, password});
}

NwCode NwAllocateResultBuffer(std::size_t size, NwResultBuffer& buffer) {
    Locked client;
    buffer = client->buffers.Add(ResultBuffer{size, {}, 0});
    return kNwSuccess;
}

NwCode NwFreeResultBuffer(NwResultBuffer buffer) {
    Locked client;
    return client->buffers.Remove(buffer) ? kNwSuccess : kNwBadHandle;
}

namespace {

// One pass of a listing: the network answers the next iterator and the names that fit the buffer.
NwCode ListPass(const std::string& call, NwContext context, std::vector<std::string> arguments,
                std::int32_t& iterator, NwResultBuffer buffer) {
    Locked client;
    const Context* found = client->contexts.Find(context);
    ResultBuffer* result = client->buffers.Find(buffer);
    if (found == nullptr || result == nullptr) {
        return kNwBadHandle;
    }
    arguments.insert(arguments.begin(), {found->tree, found->nameContext});
    arguments.push_back(Text(iterator));
    arguments.push_back(Text(static_cast<std::int64_t>(result->size)));
    std::vector<std::string> out;
    const NwCode code = client->link.Call(call, arguments, &out);
    if (code != kNwSuccess) {
        return code;
    }
    if (!ReadNumber(out, 0, iterator)) {
        return kNwBadRequest;
    }
    result->entries.assign(out.begin() + 1, out.end());
    result->next = 0;
    return kNwSuccess;
}

}  // namespace

NwCode NwListObjects(NwContext context, const std::string& base, const std::string& objectClass,
                     std::int32_t& iterator, NwResultBuffer buffer) {
    return ListPass("list-objects", context, {base, objectClass}, iterator, buffer);
}

NwCode NwListContainers(NwContext context, const std::string& base, std::int32_t& iterator,
                        NwResultBuffer buffer) {
    return ListPass("list-containers", context, {base}, iterator, buffer);
}

NwCode NwResultEntryCount(NwResultBuffer buffer, std::uint32_t& count) {
    Locked client;
    const ResultBuffer* result = client->buffers.Find(buffer);
    if (result == nullptr) {
        return kNwBadHandle;
    }
    count = static_cast<std::uint32_t>(result->entries.size());
    return kNwSuccess;
}

NwCode NwResultEntryName(NwResultBuffer buffer, std::string& name) {
    Locked client;
    ResultBuffer* result = client->buffers.Find(buffer);
    if (result == nullptr) {
        return kNwBadHandle;
    }
    if (result->next >= result->entries.size()) {
        return kNwEndOfEntries;
    }
    name = result->entries[result->next++];
    return kNwSuccess;
}

NwCode NwQueueScanStart(NwConnection connection, NwScan& scan, std::string& name) {
    return BinderyScanStart("queue-scan", connection, scan, name);
}

NwCode NwPrintServerScanStart(NwConnection connection, NwScan& scan, std::string& name) {
    return BinderyScanStart("ps-scan", connection, scan, name);
}

NwCode NwPrinterScanStart(const NwTarget& target, const std::string& printServer, NwScan& scan,
                          std::string& name) {
    Scan made{"printer-scan", {}};
    {
        Locked client;
        const NwCode code = TargetArguments(client, target, made.arguments);
        if (code != kNwSuccess) {
            return code;
        }
    }
    made.arguments.push_back(printServer);
    return NameScanStart(std::move(made), scan, name);
}

NwCode NwScanNext(NwScan scan, std::string& name) {
    Locked client;
    std::vector<std::string> out;
    const NwCode code = ScanNextLocked(client, scan, out);
    return OneField(code, out, name);
}

NwCode NwScanEnd(NwScan scan) {
    Locked client;
    return client->scans.Remove(scan) ? kNwSuccess : kNwBadHandle;
}

NwCode NwCreateQueue(const NwTarget& target, const std::string& queue, const std::string& volume) {
    return TargetCall(target, "create-queue", {queue, volume});
}

NwCode NwDeleteQueue(const NwTarget& target, const std::string& queue) {
    return TargetCall(target, "delete-queue", {queue});
}

NwCode NwQueueExists(const NwTarget& target, const std::string& queue) {
    return TargetCall(target, "queue-exists", {queue});
}

NwCode NwCreatePrintServer(const NwTarget& target, const std::string& printServer) {
    return TargetCall(target, "create-ps", {printServer});
}

NwCode NwPrintServerExists(const NwTarget& target, const std::string& printServer) {
    return TargetCall(target, "ps-exists", {printServer});
}

NwCode NwCreatePrinter(const NwTarget& target, const std::string& printServer, const std::string& printer) {
    return TargetCall(target, "create-printer", {printServer, printer});
}

NwCode NwPrinterExists(const NwTarget& target, const std::string& printServer, const std::string& printer) {
    return TargetCall(target, "printer-exists", {printServer, printer});
}

NwCode NwAddAttributeValue(const NwTarget& target, const std::string& printServer, const std::string& printer,
                           std::int32_t attribute, const NwAttributeValue& value) {
    return TargetCall(target, "add-value", ValueArguments(printServer, printer, attribute, value));
}

NwCode NwRemoveAttributeValue(const NwTarget& target, const std::string& printServer,
                              const std::string& printer, std::int32_t attribute,
                              const NwAttributeValue& value) {
    return TargetCall(target, "remove-value", ValueArguments(printServer, printer, attribute, value));
}

NwCode NwAttributeScanStart(const NwTarget& target, const std::string& printServer,
                            const std::string& printer, std::int32_t attribute, NwScan& scan,
                            NwAttributeValue& value) {
    Locked client;
    Scan made{"read-value", {}};
    NwCode code = TargetArguments(client, target, made.arguments);
    if (code != kNwSuccess) {
        return code;
    }
    made.arguments.insert(made.arguments.end(), {printServer, printer, Text(attribute)});
    std::vector<std::string> out;
    code = ScanStart(client, std::move(made), scan, out);
    return ReadValue(code, out, value);
}

NwCode NwAttributeScanNext(NwScan scan, NwAttributeValue& value) {
    Locked client;
    std::vector<std::string> out;
    const NwCode code = ScanNextLocked(client, scan, out);
    return ReadValue(code, out, value);
}

std::string NwDefaultPrinterConfiguration() {
    std::string record(kNwDefaultConfigurationSize, '\0');
    record[0] = 1;  // the record's version; every setting at its default of 0
    return record;
}

}  // namespace plat
