#include "platform/store/StoreFilePath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plat {

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

std::filesystem::path ChosenPath() {
    const char* named = std::getenv("VORLANE_REGISTRY");
    if (named != nullptr && *named != '\0') {
        return named;
    }
    const std::string home = HomeFolder();
    if (home.empty()) {
        return {};
    }
    return std::filesystem::path(home) / ".local" / "share" / "vorlane" / "registry.db";
}

}  // namespace

std::string StoreFilePath() {
    const std::filesystem::path path = ChosenPath();
    if (path.empty()) {
        return {};
    }
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    return error ? std::string() : path.string();
}

}  // namespace plat
