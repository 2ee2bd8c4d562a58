#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the simulated NetWare network holds: bindery file servers, each a flat set of users, queues
// and print servers (a print server holds its printers), and directory trees of containers and
// objects. Names compare without regard to case and keep the spelling they were made with.
namespace sim {

enum class NwKind { Container, User, Queue, PrintServer, Printer, Volume };

// What a user may do: a supervisor changes queues, print servers and printers; an ordinary user
// only reads them.
enum class NwRights { Supervisor, Ordinary };

struct ServicedQueue {
    std::string queue;  // bindery: the queue's name; directory: its distinguished name
    std::int32_t first = 0;
    std::int32_t second = 0;
};

struct NwObject {
    std::string name;
    NwKind kind = NwKind::Container;
    NwObject* parent = nullptr;
    std::vector<std::unique_ptr<NwObject>> children;  // containers; a bindery print server's printers
    std::string password;                             // users, upper-cased
    NwRights rights = NwRights::Supervisor;           // users
    std::string volume;                               // queues
    std::vector<std::string> printers;                // a tree's print servers: their printers' names
    std::string configuration;                        // printers: attribute 3
    std::vector<ServicedQueue> serviced;              // printers: attribute 26

    NwObject* Child(std::string_view childName, NwKind childKind);
    // Null when a child of that name exists already.
    NwObject* Add(std::string childName, NwKind childKind);
    void Remove(const NwObject* child);
    std::vector<NwObject*> ChildrenOf(NwKind childKind) const;
};

struct BinderyServer {
    std::string name;
    std::string tree;  // the directory tree it belongs to; empty for a bindery-only server
    NwObject objects;
};

struct DirectoryTree {
    std::string name;  // upper case, as a tree scan gives it
    NwObject root;
    std::string currentContext = "[Root]";
};

// "[Root]" names the root; "A.B" with or without a leading dot names B's child A from the root.
NwObject* ResolveDistinguished(DirectoryTree& tree, std::string_view name);
// A name relative to a name context (empty: the tree's current one), or from the root with a leading
// "."; an empty name: the context itself.
NwObject* Resolve(DirectoryTree& tree, std::string_view nameContext, std::string_view name);
// The container a new object of this name goes into, and its own name.
NwObject* ResolveParent(DirectoryTree& tree, std::string_view nameContext, std::string_view name,
                        std::string& leaf);
// "A.B" of a tree object (no leading dot), "[Root]" for the root.
std::string DistinguishedName(const NwObject& object);

// The kind a class name stands for ("QUEUE", "PRINT SERVER" ...), if any.
bool KindOfClass(std::string_view className, NwKind& kind);
const char* KindName(NwKind kind);
bool KindOfName(std::string_view name, NwKind& kind);

std::string UpperCase(std::string_view text);

}  // namespace sim
