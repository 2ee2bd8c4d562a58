#pragma once

#include <string>

namespace plat {

// The store file: VORLANE_REGISTRY, else ~/.local/share/vorlane/registry.db. The folders above it are
// created when missing. Empty when no path can be formed or its folder cannot be made.
std::string StoreFilePath();

}  // namespace plat
