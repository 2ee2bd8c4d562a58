#include "firmware/CommandLine.h"

#include <cstdint>
#include <limits>

namespace fendrel {

namespace {

// Blanks skipped, then digits; every minus sign met on the way turns the sign. A number past 32 bits
// names no window: cut down to 32 bits, it could name some other program's window.
plat::WindowHandle ParseHandle(std::string_view text) {
    std::size_t at = text.find_first_not_of(' ');
    std::uint64_t value = 0;
    bool negative = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '-') {
            negative = !negative;
        } else if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            if (value > std::numeric_limits<std::uint32_t>::max()) {
                return 0;
            }
        } else {
            break;
        }
    }
    const auto handle = static_cast<std::uint32_t>(value);
    return negative ? 0u - handle : handle;
}

}  // namespace

bool ParseCommandLine(std::string_view line, plat::WindowHandle& consoleWindow) {
    consoleWindow = 0;
    const std::size_t separator = line.find_first_of(" ,");
    if (line.substr(0, separator) != "TLX") {
        return false;
    }
    if (separator != std::string_view::npos) {
        consoleWindow = ParseHandle(line.substr(separator + 1));
    }
    return true;
}

std::string JoinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += ' ';
        }
        line += argv[i];
    }
    return line;
}

}  // namespace fendrel
