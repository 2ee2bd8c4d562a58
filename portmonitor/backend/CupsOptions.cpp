#include "portmonitor/backend/CupsOptions.h"

#include <cctype>

namespace {

bool Blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The value at the front of `rest`, taken off it: up to the first blank outside quotes, a backslash
// keeping the character after it.
std::string TakeValue(std::string_view& rest) {
    std::string value;
    char quote = 0;
    while (!rest.empty() && (quote != 0 || !Blank(rest.front()))) {
        const char c = rest.front();
        rest.remove_prefix(1);
        if (c == '\\' && !rest.empty()) {
            value += rest.front();
            rest.remove_prefix(1);
        } else if (quote == 0 && (c == '\'' || c == '"')) {
            quote = c;
        } else if (c == quote) {
            quote = 0;
        } else {
            value += c;
        }
    }
    return value;
}

}  // namespace

std::optional<std::string> CupsOptionValue(std::string_view options, std::string_view name) {
    std::string_view rest = options;
    while (true) {
        while (!rest.empty() && Blank(rest.front())) {
            rest.remove_prefix(1);
        }
        if (rest.empty()) {
            return std::nullopt;
        }
        std::size_t end = 0;
        while (end < rest.size() && rest[end] != '=' && !Blank(rest[end])) {
            ++end;
        }
        const std::string_view word = rest.substr(0, end);
        rest.remove_prefix(end);
        std::string value;
        if (!rest.empty() && rest.front() == '=') {
            rest.remove_prefix(1);
            value = TakeValue(rest);
        }
        if (word == name) {
            return value;
        }
    }
}
