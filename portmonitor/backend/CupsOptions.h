#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of one option of the options argument cupsd hands a backend: "name=value" words
// separated by blanks, a value's blanks and quotes escaped with a backslash or quoted; nothing when
// the option is not there.
std::optional<std::string> CupsOptionValue(std::string_view options, std::string_view name);
