#include "snmp/codec/ObjectIdentifier.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "snmp/codec/ShortCopy.h"

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
    // Past the common start, each comparison is of constant length and bytes, made without a call.
    const std::string_view rest = text.substr(kCommonText.size());
#pragma GCC unroll 4
    for (const KnownPrefix& prefix : kKnownPrefixes) {
        if (rest.starts_with(prefix.text.substr(kCommonText.size())) &&
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
    const std::string_view rest = content.substr(kCommonContent.size());
#pragma GCC unroll 4
    for (const KnownPrefix& prefix : kKnownPrefixes) {
        if (rest.starts_with(prefix.content.substr(kCommonContent.size()))) {
            return &prefix;
        }
    }
    return nullptr;
}

// The value of a decimal digit; above 9 for any other character.
constexpr unsigned DigitOf(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c) - '0');
}

// Reads one decimal arc of at most 32 bits at `next`: where it ends, or null when there is none.
const char* ReadArc(const char* next, const char* end, std::uint32_t& arc) {
    const char* const start = next;
    std::uint64_t value = 0;
    for (; next != end; ++next) {
        const unsigned digit = DigitOf(*next);
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

// Reads the decimal arc of at most 32 bits that ends at `end`, going back no further than `first`:
// where it begins, or null when there is none.
const char* ReadArcBefore(const char* first, const char* end, std::uint32_t& arc) {
    constexpr std::uint64_t kPastLargestDigit = std::uint64_t{UINT32_MAX} + 1;
    std::uint64_t value = 0;
    std::uint64_t scale = 1;  // of the digit read next; it stops growing once no digit may have it
    const char* next = end;
    for (; next != first; --next) {
        const unsigned digit = DigitOf(next[-1]);
        if (digit > 9) {
            break;
        }
        if (digit != 0 && (scale >= kPastLargestDigit || (value += digit * scale) > UINT32_MAX)) {
            return nullptr;
        }
        scale = scale < kPastLargestDigit ? scale * 10 : scale;
    }
    arc = static_cast<std::uint32_t>(value);
    return next != end ? next : nullptr;
}

// Writes a subidentifier in base 128 so that it ends at `out`: where it begins, or null when it does
// not fit above `limit`.
std::uint8_t* PutSubidentifierBefore(std::uint32_t value, std::uint8_t* out, const std::uint8_t* limit) {
    if (out == limit) {
        return nullptr;
    }
    *--out = static_cast<std::uint8_t>(value & 0x7F);
    for (value >>= 7; value != 0; value >>= 7) {
        if (out == limit) {
            return nullptr;
        }
        *--out = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
    }
    return out;
}

// Writes the arcs of the text from `first` to `end`, each a dot and a decimal number, as
// subidentifiers ending at `out`, last arc first: where they begin, or null on a bad arc or when they
// do not fit above `limit`. Arcs of one or two digits, nearly all of them, are read without a loop.
std::uint8_t* PutArcsBefore(const char* first, const char* end, std::uint8_t* out,
                            const std::uint8_t* limit) {
    while (end != first) {
        const std::ptrdiff_t room = end - first;
        const unsigned units = DigitOf(end[-1]);
        std::uint32_t arc = 0;
        if (room >= 2 && units <= 9 && end[-2] == '.') {
            arc = units;
            end -= 2;
        } else if (room >= 3 && units <= 9 && DigitOf(end[-2]) <= 9 && end[-3] == '.') {
            arc = DigitOf(end[-2]) * 10 + units;
            end -= 3;
        } else {
            const char* start = ReadArcBefore(first, end, arc);
            if (start == nullptr || start == first || start[-1] != '.') {
                return nullptr;
            }
            end = start - 1;
        }
        if (arc < 0x80 && out != limit) {
            *--out = static_cast<std::uint8_t>(arc);
        } else if ((out = PutSubidentifierBefore(arc, out, limit)) == nullptr) {
            return nullptr;
        }
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

// Appends `piece` (at most kShortCopyLimit characters) when it fits before `last`: the new end, or null.
char* AppendText(char* out, const char* last, const char* piece, std::size_t count) {
    if (count > static_cast<std::size_t>(last - out)) {
        return nullptr;
    }
    CopyShort(out, piece, count);
    return out + count;
}

// Appends "." and the arc in decimal when they fit before `last`: the new end, or null.
char* AppendArc(char* out, const char* last, std::uint32_t arc) {
    if (last - out >= static_cast<std::ptrdiff_t>(kMaxArcText)) {
        *out = '.';
        return WriteDecimal(out + 1, arc);
    }
    char piece[kShortCopyLimit];  // CopyShort's size, so that no copy of it reaches past its end
    piece[0] = '.';
    return AppendText(out, last, piece, WriteDecimal(piece + 1, arc) - piece);
}

// Appends the first two arcs, which the first subidentifier holds; first arcs above 2 do not exist.
char* AppendFirstArcs(char* out, const char* last, std::uint32_t subidentifier) {
    const std::uint32_t first = std::min<std::uint32_t>(subidentifier / 40, 2);
    char piece[kShortCopyLimit];
    piece[0] = static_cast<char>('0' + first);
    piece[1] = '.';
    return AppendText(out, last, piece, WriteDecimal(piece + 2, subidentifier - first * 40) - piece);
}

}  // namespace

std::uint8_t* OidTextToContentBefore(std::string_view text, std::uint8_t* limit, std::uint8_t* end) {
    const char* const first = text.data();
    const char* const last = first + text.size();
    const KnownPrefix* known = KnownTextPrefix(text);
    // The first two arcs make one subidentifier: they are read first, the others from the end.
    const char* arcs = known != nullptr ? first + known->text.size() : nullptr;
    std::uint32_t firstArc = 0;
    std::uint32_t secondArc = 0;
    if (known == nullptr) {
        arcs = ReadArc(first, last, firstArc);
        if (arcs != nullptr && arcs != last) {
            arcs = *arcs == '.' ? ReadArc(arcs + 1, last, secondArc) : nullptr;
        }
        if (arcs == nullptr || firstArc > 2 || secondArc >= 40) {
            return nullptr;
        }
    }
    std::uint8_t* out = PutArcsBefore(arcs, last, end, limit);
    if (out == nullptr) {
        return nullptr;
    }
    if (known == nullptr) {
        return out != limit ? PutSubidentifierBefore(firstArc * 40 + secondArc, out, limit) : nullptr;
    }
    if (static_cast<std::size_t>(out - limit) < known->content.size()) {
        return nullptr;
    }
    out -= known->content.size();
    CopyShort(out, known->content.data(), known->content.size());
    return out;
}

bool OidTextToContent(std::string_view text, std::uint8_t* content, std::size_t capacity,
                      std::size_t& length) {
    length = 0;
    const std::uint8_t* start = OidTextToContentBefore(text, content, content + capacity);
    if (start == nullptr) {
        return false;
    }
    length = static_cast<std::size_t>(content + capacity - start);
    std::memmove(content, start, length);
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
    if (next == nullptr || out == nullptr) {
        return false;
    }
    // No subidentifier takes more than four characters for each of its bytes: with that much room
    // left, the one-byte ones (nearly all) are copied whole without a look at the room.
    const bool roomy = last - out >= static_cast<std::ptrdiff_t>(kShortArcRoom) * (end - next);
    while (next != end) {
        for (; roomy && next != end && *next < 0x80; ++next) {
            const ShortArc& arc = kShortArcs[*next];
            std::memcpy(out, arc.text, kShortArcRoom);
            out += arc.length;
        }
        if (next != end && ((next = ReadSubidentifier(next, end, subidentifier)) == nullptr ||
                            (out = AppendArc(out, last, subidentifier)) == nullptr)) {
            return false;
        }
    }
    *out = '\0';
    textLength = static_cast<std::size_t>(out - text);
    return true;
}

}  // namespace snmp
