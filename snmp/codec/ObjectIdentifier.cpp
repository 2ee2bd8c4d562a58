#include "snmp/codec/ObjectIdentifier.h"

#include <algorithm>
#include <charconv>

namespace snmp {

namespace {

// Reads one decimal arc of at most 32 bits at the front of `text` and removes it with its dot.
bool TakeArc(std::string_view& text, std::uint32_t& arc) {
    std::size_t digits = 0;
    std::uint64_t value = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        value = value * 10 + static_cast<std::uint64_t>(text[digits] - '0');
        if (value > UINT32_MAX) {
            return false;
        }
    }
    if (digits == 0) {
        return false;
    }
    text.remove_prefix(digits);
    if (!text.empty()) {
        if (text.front() != '.' || text.size() == 1) {
            return false;
        }
        text.remove_prefix(1);
    }
    arc = static_cast<std::uint32_t>(value);
    return true;
}

bool PutSubidentifier(std::uint32_t value, std::uint8_t* content, std::size_t capacity, std::size_t& length) {
    std::uint8_t digits[5];
    std::size_t count = 0;
    do {
        digits[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    if (capacity - length < count) {
        return false;
    }
    while (count > 1) {
        content[length++] = digits[--count] | 0x80;
    }
    content[length++] = digits[0];
    return true;
}

// Appends a dot (but at the start) and the arc in decimal, stopping short of `last`.
bool AppendArc(const char* text, char*& out, char* last, std::uint32_t arc) {
    if (out != text) {
        if (out == last) {
            return false;
        }
        *out++ = '.';
    }
    if (arc < 10 && out != last) {
        *out++ = static_cast<char>('0' + arc);
        return true;
    }
    auto [next, error] = std::to_chars(out, last, arc);
    if (error != std::errc()) {
        return false;
    }
    out = next;
    return true;
}

}  // namespace

bool OidTextToContent(std::string_view text, std::uint8_t* content, std::size_t capacity,
                      std::size_t& length) {
    length = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    if (!TakeArc(text, first) || (!text.empty() && !TakeArc(text, second))) {
        return false;
    }
    if (first > 2 || second >= 40 || capacity == 0) {
        return false;
    }
    content[length++] = static_cast<std::uint8_t>(first * 40 + second);
    while (!text.empty()) {
        std::uint32_t arc = 0;
        if (!TakeArc(text, arc) || !PutSubidentifier(arc, content, capacity, length)) {
            return false;
        }
    }
    return true;
}

bool OidContentToText(const std::uint8_t* content, std::size_t length, char* text, std::size_t size,
                      std::size_t& textLength) {
    if (length == 0 || size == 0 || (content[length - 1] & 0x80) != 0) {
        return false;
    }
    char* out = text;
    char* const last = text + size - 1;  // room for the terminator
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        value = (value << 7) | (content[i] & 0x7F);
        if (value > UINT32_MAX) {
            return false;
        }
        if ((content[i] & 0x80) != 0) {
            continue;
        }
        const auto subidentifier = static_cast<std::uint32_t>(value);
        value = 0;
        if (out != text) {
            if (!AppendArc(text, out, last, subidentifier)) {
                return false;
            }
            continue;
        }
        // The first subidentifier holds the first two arcs; first arcs above 2 do not exist.
        const std::uint32_t first = std::min<std::uint32_t>(subidentifier / 40, 2);
        if (!AppendArc(text, out, last, first) || !AppendArc(text, out, last, subidentifier - first * 40)) {
            return false;
        }
    }
    *out = '\0';
    textLength = static_cast<std::size_t>(out - text);
    return true;
}

}  // namespace snmp
