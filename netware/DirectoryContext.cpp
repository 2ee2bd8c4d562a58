#include "netware/DirectoryContext.h"

#include "netware/ScanRounds.h"
#include "netware/ServerConnection.h"
#include "netware/UpperCase.h"
#include "platform/text/CaseInsensitive.h"

NwResult FindTree(char* tree) {
    UpperCaseInPlace(tree);
    ServerConnection connection;
    DirectoryContext context;
    if (connection.OpenDefault() != kNwOk || context.Make(nullptr) != kNwOk) {
        return kNwUnknownTree;
    }
    ScanRounds rounds;
    std::int32_t iterator = -1;
    std::string name;
    for (;;) {
        const std::int32_t sent = iterator;
        if (plat::NwScanTrees(context.Handle(), connection.Handle(), "*", iterator, name) !=
            plat::kNwSuccess) {
            return kNwUnknownTree;
        }
        if (name == tree) {
            return kNwOk;
        }
        if (!rounds.Advanced(sent, iterator)) {
            return kNwCannotConnect;
        }
    }
}

NwResult SelectTree(char* tree) {
    const NwResult found = FindTree(tree);
    if (found != kNwOk) {
        return found;
    }
    return plat::NwSetPreferredTree(tree) == plat::kNwSuccess ? kNwOk : kNwCannotConnect;
}

DirectoryContext::~DirectoryContext() {
    if (made_) {
        plat::NwFreeContext(context_);
    }
}

NwResult DirectoryContext::SetFlags() {
    std::uint32_t flags = 0;
    if (plat::NwReadContextFlags(context_, flags) != plat::kNwSuccess ||
        plat::NwWriteContextFlags(context_, flags | plat::kNwContextFlagCanonicalize) != plat::kNwSuccess) {
        return kNwCannotConnect;
    }
    return kNwOk;
}

NwResult DirectoryContext::Make(const char* nameContext) {
    if (plat::NwCreateContext(context_) != plat::kNwSuccess) {
        return kNwCannotConnect;
    }
    made_ = true;
    SetFlags();  // ignored here: a context works without the flag
    return nameContext == nullptr ? kNwOk : SetName(nameContext);
}

NwResult DirectoryContext::SetName(const char* nameContext) {
    return plat::NwWriteNameContext(context_, nameContext) == plat::kNwSuccess ? kNwOk : kNwCannotConnect;
}

NwResult OpenDirectory(char* tree, const char* nameContext, DirectoryContext& context) {
    const NwResult result = SelectTree(tree);
    return result != kNwOk ? result : context.Make(nameContext);
}

NwResult OpenDirectoryToChange(char* tree, DirectoryContext& context) {
    const NwResult result = SelectTree(tree);
    if (result != kNwOk) {
        return result;
    }
    return plat::NwDirectoryLoginExists() ? context.Make("[Root]") : kNwLoginRequired;
}

std::string RootName(const char* name, const char* context) {
    std::string rooted = "." + std::string(name);
    if (!plat::EqualsNoCase(context, "[Root]") && *context != '\0') {
        rooted += "." + std::string(context);
    }
    return rooted;
}
