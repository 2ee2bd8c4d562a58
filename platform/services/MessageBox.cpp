#include "platform/services/MessageBox.h"

#include <cstdio>

namespace plat {

void MessageBox(const std::string& text, const std::string& caption) {
    if (caption.empty()) {
        std::fprintf(stderr, "%s\n", text.c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}

}  // namespace plat
