#include "snmp/codec/ObjectIdentifier.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace snmp {

namespace {

// Prefixes that nearly every identifier the system sends or receives starts with, with their content
// made once: the private subtree of the print servers, MIB-II and the enterprises. Longest first.
struct KnownPrefix {
    std::string_view text;
    std::string_view content;
};
constexpr KnownPrefix kKnownPrefixes[] = {
    {"1.3.6.1.4.1.32473.11.5.1", "\x2B\x06\x01\x04\x01\x81\xFD\x59\x0B\x05\x01"},
    {"1.3.6.1.2.1", "\x2B\x06\x01\x02\x01"},
    {"1.3.6.1.4.1", "\x2B\x06\x01\x04\x01"},
};

// The longest decimal arc, and a dot in front of it.
constexpr std::size_t kMaxArcText = 11;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Reads one decimal arc of at most 32 bits at `next` and moves past it.
bool TakeArc(const char*& next, const char* end, std::uint32_t& arc) {
    const char* const start = next;
    std::uint64_t value = 0;
    for (; next != end; ++next) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*next) - '0');
        if (digit > 9) {
            break;
        }
        value = value * 10 + digit;
        if (value > UINT32_MAX) {
            return false;
        }
    }
    arc = static_cast<std::uint32_t>(value);
    return next != start;
}

// Reads "." and an arc; a text may end only after a whole arc.
bool TakeDottedArc(const char*& next, const char* end, std::uint32_t& arc) {
    return *next++ == '.' && TakeArc(next, end, arc);
}

bool PutSubidentifier(std::uint32_t value, std::uint8_t* content, std::size_t capacity, std::size_t& length) {
    if (value < 0x80) {
        if (length == capacity) {
            return false;
        }
        content[length++] = static_cast<std::uint8_t>(value);
        return true;
    }
    std::size_t count = 1;
    for (std::uint32_t rest = value >> 7; rest != 0; rest >>= 7) {
        ++count;
    }
    if (capacity - length < count) {
        return false;
    }
    for (std::size_t i = count; i-- > 0;) {
        content[length + i] = static_cast<std::uint8_t>((value & 0x7F) | (i + 1 == count ? 0x00 : 0x80));
        value >>= 7;
    }
    length += count;
    return true;
}

// Reads one base-128 subidentifier of at most 32 bits at `next` and moves past it.
bool TakeSubidentifier(const std::uint8_t*& next, const std::uint8_t* end, std::uint32_t& value) {
    if (*next < 0x80) {  // the common one-byte subidentifier
        value = *next++;
        return true;
    }
    std::uint64_t number = 0;
    std::uint8_t byte = 0;
    do {
        if (next == end) {
            return false;
        }
        byte = *next++;
        number = (number << 7) | (byte & 0x7F);
        if (number > UINT32_MAX) {
            return false;
        }
    } while ((byte & 0x80) != 0);
    value = static_cast<std::uint32_t>(number);
    return true;
}

char* WriteDecimal(char* out, std::uint32_t value) {
    if (value < 10) {
        *out = static_cast<char>('0' + value);
        return out + 1;
    }
    if (value < 100) {
        std::memcpy(out, kDigitPairs + 2 * value, 2);
        return out + 2;
    }
    return std::to_chars(out, out + kMaxArcText, value).ptr;
}

// Appends `piece` when it fits before `last`.
bool AppendText(char*& out, const char* last, const char* piece, std::size_t count) {
    if (count > static_cast<std::size_t>(last - out)) {
        return false;
    }
    std::memcpy(out, piece, count);
    out += count;
    return true;
}

// Appends "." and the arc in decimal, stopping short of `last`.
bool AppendArc(char*& out, const char* last, std::uint32_t arc) {
    if (last - out >= static_cast<std::ptrdiff_t>(kMaxArcText)) {
        *out++ = '.';
        out = WriteDecimal(out, arc);
        return true;
    }
    char piece[kMaxArcText + 1];
    piece[0] = '.';
    return AppendText(out, last, piece, WriteDecimal(piece + 1, arc) - piece);
}

// Appends the first two arcs, which the first subidentifier holds; first arcs above 2 do not exist.
bool AppendFirstArcs(char*& out, const char* last, std::uint32_t subidentifier) {
    const std::uint32_t first = std::min<std::uint32_t>(subidentifier / 40, 2);
    char piece[2 + kMaxArcText];
    piece[0] = static_cast<char>('0' + first);
    piece[1] = '.';
    return AppendText(out, last, piece, WriteDecimal(piece + 2, subidentifier - first * 40) - piece);
}

}  // namespace

bool OidTextToContent(std::string_view text, std::uint8_t* content, std::size_t capacity,
                      std::size_t& length) {
    length = 0;
    const char* next = text.data();
    const char* const end = next + text.size();
    const auto known = std::find_if(std::begin(kKnownPrefixes), std::end(kKnownPrefixes), [&](const auto& p) {
        // The prefix must end on a whole arc: "...5.10" does not start with "...5.1".
        return text.starts_with(p.text) && (text.size() == p.text.size() || text[p.text.size()] == '.');
    });
    if (known != std::end(kKnownPrefixes) && known->content.size() <= capacity) {
        std::memcpy(content, known->content.data(), known->content.size());
        length = known->content.size();
        next += known->text.size();
    } else {
        std::uint32_t first = 0;
        std::uint32_t second = 0;
        if (!TakeArc(next, end, first) || (next != end && !TakeDottedArc(next, end, second))) {
            return false;
        }
        if (first > 2 || second >= 40 || capacity == 0) {
            return false;
        }
        content[length++] = static_cast<std::uint8_t>(first * 40 + second);
    }
    while (next != end) {
        std::uint32_t arc = 0;
        if (!TakeDottedArc(next, end, arc) || !PutSubidentifier(arc, content, capacity, length)) {
            return false;
        }
    }
    return true;
}

bool OidContentToText(const std::uint8_t* content, std::size_t length, char* text, std::size_t size,
                      std::size_t& textLength) {
    if (length == 0 || size == 0) {
        return false;
    }
    const std::uint8_t* next = content;
    const std::uint8_t* const end = content + length;
    char* out = text;
    const char* const last = text + size - 1;  // room for the terminator
    const std::string_view bytes(reinterpret_cast<const char*>(content), length);
    const auto known = std::find_if(std::begin(kKnownPrefixes), std::end(kKnownPrefixes),
                                    [&](const auto& p) { return bytes.starts_with(p.content); });
    std::uint32_t subidentifier = 0;
    if (known != std::end(kKnownPrefixes)) {
        if (!AppendText(out, last, known->text.data(), known->text.size())) {
            return false;
        }
        next += known->content.size();
    } else if (!TakeSubidentifier(next, end, subidentifier) || !AppendFirstArcs(out, last, subidentifier)) {
        return false;
    }
    while (next != end) {
        if (!TakeSubidentifier(next, end, subidentifier) || !AppendArc(out, last, subidentifier)) {
            return false;
        }
    }
    *out = '\0';
    textLength = static_cast<std::size_t>(out - text);
    return true;
}

}  // namespace snmp
