#include "snmp/codec/ObjectIdentifier.h"

#include <algorithm>
#include <array>
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
// What all of them start with, so that other identifiers are told apart with one comparison.
constexpr std::string_view kCommonText = "1.3.6.1.";
constexpr std::string_view kCommonContent = "\x2B\x06\x01";

// The longest decimal arc, and a dot in front of it.
constexpr std::size_t kMaxArcText = 11;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The known prefix `text` starts with, ending on a whole arc ("...5.10" does not start with
// "...5.1"), or null.
const KnownPrefix* KnownTextPrefix(std::string_view text) {
    if (!text.starts_with(kCommonText)) {
        return nullptr;
    }
#pragma GCC unroll 4  // each comparison of constant length and bytes, made without a call
    for (const KnownPrefix& prefix : kKnownPrefixes) {
        if (text.starts_with(prefix.text) &&
            (text.size() == prefix.text.size() || text[prefix.text.size()] == '.')) {
            return &prefix;
        }
    }
    return nullptr;
}

// The known prefix `content` starts with, or null. Each ends on a whole subidentifier.
const KnownPrefix* KnownContentPrefix(std::string_view content) {
    if (!content.starts_with(kCommonContent)) {
        return nullptr;
    }
#pragma GCC unroll 4
    for (const KnownPrefix& prefix : kKnownPrefixes) {
        if (content.starts_with(prefix.content)) {
            return &prefix;
        }
    }
    return nullptr;
}

// Reads one decimal arc of at most 32 bits at `next`: where it ends, or null when there is none.
const char* ReadArc(const char* next, const char* end, std::uint32_t& arc) {
    const char* const start = next;
    std::uint64_t value = 0;
    for (; next != end; ++next) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*next) - '0');
        if (digit > 9) {
            break;
        }
        value = value * 10 + digit;
        if (value > UINT32_MAX) {
            return nullptr;
        }
    }
    arc = static_cast<std::uint32_t>(value);
    return next != start ? next : nullptr;
}

// Writes a subidentifier in base 128 at `out`: where it ends, or null when it does not fit before `limit`.
std::uint8_t* PutSubidentifier(std::uint32_t value, std::uint8_t* out, const std::uint8_t* limit) {
    if (value < 0x80 && out != limit) {
        *out = static_cast<std::uint8_t>(value);
        return out + 1;
    }
    std::ptrdiff_t count = 1;
    for (std::uint32_t rest = value >> 7; rest != 0; rest >>= 7) {
        ++count;
    }
    if (limit - out < count) {
        return nullptr;
    }
    for (std::ptrdiff_t i = count - 1; i >= 0; --i, value >>= 7) {
        out[i] = static_cast<std::uint8_t>((value & 0x7F) | (i + 1 == count ? 0x00 : 0x80));
    }
    return out + count;
}

// Writes the arcs of `next` up to `end`, each a dot and a decimal number, as subidentifiers at `out`:
// where they end, or null on a bad arc or when they do not fit before `limit`.
std::uint8_t* PutArcs(const char* next, const char* end, std::uint8_t* out, const std::uint8_t* limit) {
    while (next != end && out != nullptr) {
        std::uint32_t arc = 0;
        if (*next != '.' || (next = ReadArc(next + 1, end, arc)) == nullptr) {
            return nullptr;
        }
        out = PutSubidentifier(arc, out, limit);
    }
    return out;
}

// Reads one base-128 subidentifier of at most 32 bits at `next`: where it ends, or null.
const std::uint8_t* ReadSubidentifier(const std::uint8_t* next, const std::uint8_t* end,
                                      std::uint32_t& value) {
    if (*next < 0x80) {  // the common one-byte subidentifier
        value = *next;
        return next + 1;
    }
    std::uint64_t number = 0;
    std::uint8_t byte = 0;
    do {
        if (next == end) {
            return nullptr;
        }
        byte = *next++;
        number = (number << 7) | (byte & 0x7F);
        if (number > UINT32_MAX) {
            return nullptr;
        }
    } while ((byte & 0x80) != 0);
    value = static_cast<std::uint32_t>(number);
    return next;
}

// Numbers of three digits and more, kept out of line so that the short ones below inline.
[[gnu::noinline]] char* WriteLongDecimal(char* out, std::uint32_t value) {
    return std::to_chars(out, out + kMaxArcText, value).ptr;
}

// Writes `value` in decimal at `out` (room for kMaxArcText characters); gives the end.
inline char* WriteDecimal(char* out, std::uint32_t value) {
    if (value < 100) {
        // One or two digits without a branch on which: two characters are written either way, a
        // single digit from its pair's second, and the end moves past the digits only.
        const std::size_t single = value < 10 ? 1 : 0;
        std::memcpy(out, kDigitPairs + 2 * value + single, 2);
        return out + 2 - single;
    }
    return WriteLongDecimal(out, value);
}

// "." and the decimal number of every one-byte subidentifier (0 to 127), padded to four characters,
// with its length: the common arc is then one four-byte copy.
struct ShortArc {
    char text[4];
    std::uint8_t length;
};
constexpr std::size_t kShortArcRoom = sizeof ShortArc::text;

constexpr std::array<ShortArc, 0x80> MakeShortArcs() {
    std::array<ShortArc, 0x80> arcs{};
    for (std::uint32_t value = 0; value < arcs.size(); ++value) {
        ShortArc& arc = arcs[value];
        arc.text[0] = '.';
        const std::uint32_t digits = value >= 100 ? 3 : value >= 10 ? 2 : 1;
        for (std::uint32_t rest = value, i = digits; i > 0; --i, rest /= 10) {
            arc.text[i] = static_cast<char>('0' + rest % 10);
        }
        arc.length = static_cast<std::uint8_t>(digits + 1);
    }
    return arcs;
}
constexpr std::array<ShortArc, 0x80> kShortArcs = MakeShortArcs();

// Appends `piece` when it fits before `last`: the new end, or null.
char* AppendText(char* out, const char* last, const char* piece, std::size_t count) {
    if (count > static_cast<std::size_t>(last - out)) {
        return nullptr;
    }
    std::memcpy(out, piece, count);
    return out + count;
}

// Appends "." and the arc in decimal when they fit before `last`: the new end, or null.
char* AppendArc(char* out, const char* last, std::uint32_t arc) {
    if (last - out >= static_cast<std::ptrdiff_t>(kMaxArcText)) {
        *out = '.';
        return WriteDecimal(out + 1, arc);
    }
    char piece[kMaxArcText + 1];
    piece[0] = '.';
    return AppendText(out, last, piece, WriteDecimal(piece + 1, arc) - piece);
}

// Appends the first two arcs, which the first subidentifier holds; first arcs above 2 do not exist.
char* AppendFirstArcs(char* out, const char* last, std::uint32_t subidentifier) {
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
    std::uint8_t* out = content;
    const std::uint8_t* const limit = content + capacity;
    if (const KnownPrefix* known = KnownTextPrefix(text);
        known != nullptr && known->content.size() <= capacity) {
        std::memcpy(out, known->content.data(), known->content.size());
        out += known->content.size();
        next += known->text.size();
    } else {
        std::uint32_t first = 0;
        std::uint32_t second = 0;
        next = ReadArc(next, end, first);
        if (next != nullptr && next != end) {
            next = *next == '.' ? ReadArc(next + 1, end, second) : nullptr;
        }
        if (next == nullptr || first > 2 || second >= 40 || capacity == 0) {
            return false;
        }
        *out++ = static_cast<std::uint8_t>(first * 40 + second);
    }
    out = PutArcs(next, end, out, limit);
    if (out == nullptr) {
        return false;
    }
    length = static_cast<std::size_t>(out - content);
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
    std::uint32_t subidentifier = 0;
    if (const KnownPrefix* known = KnownContentPrefix({reinterpret_cast<const char*>(content), length})) {
        out = AppendText(out, last, known->text.data(), known->text.size());
        next += known->content.size();
    } else if ((next = ReadSubidentifier(next, end, subidentifier)) != nullptr) {
        out = AppendFirstArcs(out, last, subidentifier);
    }
    while (next != nullptr && out != nullptr && next != end) {
        if (*next < 0x80 && last - out >= static_cast<std::ptrdiff_t>(kShortArcRoom)) {
            const ShortArc& arc = kShortArcs[*next++];
            std::memcpy(out, arc.text, kShortArcRoom);
            out += arc.length;
        } else if ((next = ReadSubidentifier(next, end, subidentifier)) != nullptr) {
            out = AppendArc(out, last, subidentifier);
        }
    }
    if (next == nullptr || out == nullptr) {
        return false;
    }
    *out = '\0';
    textLength = static_cast<std::size_t>(out - text);
    return true;
}

}  // namespace snmp
