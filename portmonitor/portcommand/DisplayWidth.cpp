#include "portmonitor/portcommand/DisplayWidth.h"

#include <locale.h>

#include <cwchar>

std::size_t DisplayWidth(std::string_view text) {
    // The program's own locale may be any; the width of UTF-8 text is the UTF-8 locale's.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (utf8 == nullptr) {
        std::size_t characters = 0;
        for (char c : text) {
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        }
        return characters;
    }
    const locale_t previous = uselocale(utf8);
    std::mbstate_t state{};
    std::size_t width = 0;
    for (std::size_t at = 0; at < text.size();) {
        wchar_t character = 0;
        const std::size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
        if (length == 0 || length > text.size() - at) {
            // A NUL, a byte that starts no character, or a character cut short.
            state = std::mbstate_t{};
            ++width;
            ++at;
            continue;
        }
        const int columns = wcwidth(character);
        width += columns < 0 ? 1 : static_cast<std::size_t>(columns);
        at += length;
    }
    uselocale(previous);
    return width;
}
