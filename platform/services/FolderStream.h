#pragma once

#include <dirent.h>

#include <memory>
#include <string>

namespace plat {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

// A folder opened for reading its entries, closed however the walk ends (an allocation failure
// included); null when the folder cannot be opened.
using FolderStream = std::unique_ptr<DIR, FolderCloser>;

inline FolderStream OpenFolder(const std::string& path) {
    return FolderStream(opendir(path.c_str()));
}

}  // namespace plat
