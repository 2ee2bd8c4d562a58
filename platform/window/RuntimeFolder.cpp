#include "platform/window/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/services/DebugOutput.h"

namespace plat {

namespace {

std::string ChooseFolder() {
    if (const char* runtime = std::getenv("VORLANE_RUNTIME"); runtime != nullptr && *runtime != '\0') {
        return runtime;
    }
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') {
        return std::string(xdg) + "/vorlane";
    }
    return "/tmp/vorlane-" + std::to_string(getuid());
}

void MakeFolders(const std::string& path) {
    for (auto slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        DebugPrintf("window runtime folder %s cannot be made\n", path.c_str());
    }
}

}  // namespace

const std::string& RuntimeFolder() {
    // Never destroyed: the layer's threads may still need it while the process ends.
    static const std::string* folder = [] {
        std::string path = ChooseFolder();
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        MakeFolders(path);
        return new std::string(path);
    }();
    return *folder;
}

}  // namespace plat
