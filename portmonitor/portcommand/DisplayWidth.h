#pragma once

#include <cstddef>
#include <string_view>

// The columns a terminal gives the UTF-8 text: one for most characters, two for a wide one (CJK),
// none for a combining mark; a byte that starts no character counts one. Without the C.UTF-8
// locale every character counts one.
std::size_t DisplayWidth(std::string_view text);
