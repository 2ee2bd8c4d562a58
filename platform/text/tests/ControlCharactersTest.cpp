#include <gtest/gtest.h>

#include "platform/text/ControlCharacters.h"

namespace plat {
namespace {

// C0 controls, DEL and the C1 controls in UTF-8 are control characters; letters beyond ASCII, whose
// bytes lie above 0x7F too, are not.
TEST(ControlCharacters, AreFoundShownAndTakenOut) {
    struct Case {
        std::string_view text;
        bool has;
        const char* visible;
        const char* without;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"Lobby", false, "Lobby", "Lobby"},
        {"a\nSTATE: +x", true, "a\\x0ASTATE: +x", "aSTATE: +x"},
        {"\0b\r\t"sv, true, "\\x00b\\x0D\\x09", "b"},
        {"c\x7F\x1B[2J", true, "c\\x7F\\x1B[2J", "c[2J"},
        {"N\xC2\x85L", true, "N\\xC2\\x85L", "NL"},  // U+0085, a line end
        {"\xC3\xA9\xC2\xA0\xE2\x80\xA8", false, "\xC3\xA9\xC2\xA0\xE2\x80\xA8",
         "\xC3\xA9\xC2\xA0\xE2\x80\xA8"},
        {"end\xC2", false, "end\xC2", "end\xC2"},  // a character cut short is no control
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasControlCharacter(c.text), c.has) << c.visible;
        EXPECT_EQ(VisibleControls(c.text), c.visible);
        EXPECT_EQ(WithoutControls(c.text), c.without) << c.visible;
    }
}

}  // namespace
}  // namespace plat
