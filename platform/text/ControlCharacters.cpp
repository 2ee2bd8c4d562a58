#include "platform/text/ControlCharacters.h"

namespace plat {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The length in bytes of the control character the text starts with; 0 when it starts with none.
std::size_t ControlLength(std::string_view text) {
    const auto first = static_cast<unsigned char>(text.front());
    if (first < 0x20 || first == 0x7F) {
        return 1;
    }
    const auto second = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    return first == 0xC2 && second >= 0x80 && second <= 0x9F ? 2 : 0;
}

// The text with each control character's bytes replaced by what `replace` makes of them.
template <class Replace>
std::string ReplaceControls(std::string_view text, Replace replace) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = ControlLength(text.substr(at));
        if (length == 0) {
            result += text[at++];
        } else {
            result += replace(text.substr(at, length));
            at += length;
        }
    }
    return result;
}

}  // namespace

bool HasControlCharacter(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (ControlLength(text.substr(at)) != 0) {
            return true;
        }
    }
    return false;
}

std::string VisibleControls(std::string_view text) {
    return ReplaceControls(text, [](std::string_view bytes) {
        std::string codes;
        for (char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            codes += {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
        }
        return codes;
    });
}

std::string WithoutControls(std::string_view text) {
    return ReplaceControls(text, [](std::string_view) { return std::string(); });
}

}  // namespace plat
