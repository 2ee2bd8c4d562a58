#include "simulator/netware/NetWareDirectory.h"

#include <algorithm>
#include <cctype>

#include "platform/text/CaseInsensitive.h"

namespace sim {

namespace {

struct KindNames {
    NwKind kind;
    const char* name;       // in control lines
    const char* className;  // in listings
};

constexpr KindNames kKinds[] = {
    {NwKind::Container, "container", ""},    {NwKind::User, "user", "USER"},
    {NwKind::Queue, "queue", "QUEUE"},       {NwKind::PrintServer, "print-server", "PRINT SERVER"},
    {NwKind::Printer, "printer", "PRINTER"}, {NwKind::Volume, "volume", "VOLUME"},
};

constexpr std::string_view kRoot = "[Root]";

// Components from the top of the tree down; false when one is empty.
bool ComponentsFromTop(std::string_view name, std::vector<std::string_view>& components) {
    components.clear();
    while (true) {
        const std::size_t dot = name.find('.');
        components.push_back(name.substr(0, dot));
        if (components.back().empty()) {
            return false;
        }
        if (dot == std::string_view::npos) {
            break;
        }
        name.remove_prefix(dot + 1);
    }
    std::reverse(components.begin(), components.end());
    return true;
}

NwObject* Walk(NwObject& root, const std::vector<std::string_view>& components) {
    NwObject* at = &root;
    for (std::string_view component : components) {
        auto it = std::find_if(at->children.begin(), at->children.end(),
                               [&](const auto& child) { return plat::EqualsNoCase(child->name, component); });
        if (it == at->children.end()) {
            return nullptr;
        }
        at = it->get();
    }
    return at;
}

// The name from the root that a relative name and a name context make, without the leading dot.
std::string Absolute(std::string_view nameContext, std::string_view name) {
    if (!name.empty() && name.front() == '.') {
        return std::string(name.substr(1));
    }
    if (!nameContext.empty() && nameContext.front() == '.') {
        nameContext.remove_prefix(1);
    }
    if (plat::EqualsNoCase(nameContext, kRoot)) {
        return name.empty() ? std::string(kRoot) : std::string(name);
    }
    return name.empty() ? std::string(nameContext) : std::string(name) + "." + std::string(nameContext);
}

// An empty name context stands for the tree's current one.
std::string_view ContextOf(const DirectoryTree& tree, std::string_view nameContext) {
    return nameContext.empty() ? std::string_view(tree.currentContext) : nameContext;
}

}  // namespace

NwObject* NwObject::Child(std::string_view childName, NwKind childKind) {
    for (const auto& child : children) {
        if (child->kind == childKind && plat::EqualsNoCase(child->name, childName)) {
            return child.get();
        }
    }
    return nullptr;
}

NwObject* NwObject::Add(std::string childName, NwKind childKind) {
    const bool taken = std::any_of(children.begin(), children.end(), [&](const auto& child) {
        return plat::EqualsNoCase(child->name, childName);
    });
    if (taken || childName.empty()) {
        return nullptr;
    }
    auto child = std::make_unique<NwObject>();
    child->name = std::move(childName);
    child->kind = childKind;
    child->parent = this;
    children.push_back(std::move(child));
    return children.back().get();
}

void NwObject::Remove(const NwObject* child) {
    std::erase_if(children, [&](const auto& item) { return item.get() == child; });
}

std::vector<NwObject*> NwObject::ChildrenOf(NwKind childKind) const {
    std::vector<NwObject*> found;
    for (const auto& child : children) {
        if (child->kind == childKind) {
            found.push_back(child.get());
        }
    }
    return found;
}

NwObject* ResolveDistinguished(DirectoryTree& tree, std::string_view name) {
    if (!name.empty() && name.front() == '.') {
        name.remove_prefix(1);
    }
    if (plat::EqualsNoCase(name, kRoot)) {
        return &tree.root;
    }
    std::vector<std::string_view> components;
    return ComponentsFromTop(name, components) ? Walk(tree.root, components) : nullptr;
}

NwObject* Resolve(DirectoryTree& tree, std::string_view nameContext, std::string_view name) {
    return ResolveDistinguished(tree, Absolute(ContextOf(tree, nameContext), name));
}

NwObject* ResolveParent(DirectoryTree& tree, std::string_view nameContext, std::string_view name,
                        std::string& leaf) {
    const std::string absolute = Absolute(ContextOf(tree, nameContext), name);
    const std::size_t dot = absolute.find('.');
    leaf = absolute.substr(0, dot);
    if (leaf.empty() || plat::EqualsNoCase(leaf, kRoot)) {
        return nullptr;
    }
    NwObject* parent =
        dot == std::string::npos ? &tree.root : ResolveDistinguished(tree, absolute.substr(dot + 1));
    return parent != nullptr && parent->kind == NwKind::Container ? parent : nullptr;
}

std::string DistinguishedName(const NwObject& object) {
    if (object.parent == nullptr) {
        return std::string(kRoot);
    }
    std::string name = object.name;
    for (const NwObject* up = object.parent; up->parent != nullptr; up = up->parent) {
        name += "." + up->name;
    }
    return name;
}

bool KindOfClass(std::string_view className, NwKind& kind) {
    for (const KindNames& entry : kKinds) {
        if (*entry.className != '\0' && plat::EqualsNoCase(className, entry.className)) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

const char* KindName(NwKind kind) {
    for (const KindNames& entry : kKinds) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "";
}

bool KindOfName(std::string_view name, NwKind& kind) {
    for (const KindNames& entry : kKinds) {
        if (name == entry.name) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

}  // namespace sim
