#pragma once

#include <cstddef>
#include <string_view>

// The longest port name, in bytes.
constexpr std::size_t kPortNameLimit = 16;

// What a new port's name must be: at most 16 characters and not empty, without a backslash (the
// store takes none in a key's name) and without a control character (the name goes into what the
// backend tells cupsd, line by line, and into its queue's name). The string id of the message that
// says what is wrong with the name; 0 when it will do.
int PortNameFault(std::string_view name);
