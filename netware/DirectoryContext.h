#pragma once

#include <string>

#include "netware/TessikResults.h"
#include "platform/netware/NetWareClient.h"

// Upper-cases the tree name in place and looks for it among the trees the client sees: kNwOk when
// there, kNwUnknownTree when not (or when the scan cannot start), kNwCannotConnect when the tree scan
// does not end.
NwResult FindTree(char* tree);
// The tree check (kNwUnknownTree), then the tree made the preferred tree (kNwCannotConnect).
NwResult SelectTree(char* tree);

// A directory context of the client, freed at the end of the export.
class DirectoryContext {
  public:
    DirectoryContext() = default;
    ~DirectoryContext();
    DirectoryContext(const DirectoryContext&) = delete;
    DirectoryContext& operator=(const DirectoryContext&) = delete;

    // Makes the context with its flags set and, unless null, `nameContext` as its name context;
    // kNwCannotConnect on failure.
    NwResult Make(const char* nameContext);
    NwResult SetName(const char* nameContext);
    // Sets the canonicalising flag; kNwCannotConnect when the flags cannot be read or written.
    NwResult SetFlags();

    plat::NwContext Handle() const { return context_; }
    plat::NwTarget Target() const { return {plat::NwTarget::Directory, context_}; }

  private:
    plat::NwContext context_ = 0;
    bool made_ = false;
};

// The tree check, the preferred tree, and a context of `nameContext` (the directory context step).
NwResult OpenDirectory(char* tree, const char* nameContext, DirectoryContext& context);
// For a change of the directory: the tree check, the preferred tree, a directory login
// (kNwLoginRequired), and a context at "[Root]".
NwResult OpenDirectoryToChange(char* tree, DirectoryContext& context);

// An object named from the root by its name and its context: ".NAME.CONTEXT", or ".NAME" on the
// context "[Root]".
std::string RootName(const char* name, const char* context);
