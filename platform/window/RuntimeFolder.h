#pragma once

#include <string>

namespace plat {

// The folder of the window runtime files: VORLANE_RUNTIME, else $XDG_RUNTIME_DIR/vorlane, else
// /tmp/vorlane-<uid>. Created (private to the user) on first use; read once per process.
const std::string& RuntimeFolder();

}  // namespace plat
