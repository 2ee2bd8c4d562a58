#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// Puts a text into one of a DeviceRecord's fixed text fields: up to its first NUL, cut to the field's
// size, always terminated.
template <std::size_t N>
void SetRecordText(char (&field)[N], std::string_view text) {
    const std::size_t length = std::min(strnlen(text.data(), text.size()), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}
