#include "platform/services/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {
bool DebugEnabled() {
    static const bool enabled = std::getenv("VORLANE_DEBUG") != nullptr;
    return enabled;
}
}  // namespace

void DebugOutput(const char* text) {
    if (DebugEnabled() && text != nullptr) {
        std::fputs(text, stderr);
    }
}

void DebugPrintf(const char* format, ...) {
    if (!DebugEnabled()) {
        return;
    }
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stderr);
}

}  // namespace plat
