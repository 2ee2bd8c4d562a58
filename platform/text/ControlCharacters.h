#pragma once

#include <string>
#include <string_view>

// Control characters in text that came from elsewhere (a print server's name off the network, the
// store, a command line): C0 controls, DEL, and the C1 controls U+0080 to U+009F in UTF-8. They end
// or move a line, or steer a terminal, where the text was meant to show.
namespace plat {

bool HasControlCharacter(std::string_view text);
// The text with each byte of a control character written as \xHH (a line end as \x0A), so that
// nothing in it can start a line of its own.
std::string VisibleControls(std::string_view text);
// The text without its control characters.
std::string WithoutControls(std::string_view text);

}  // namespace plat
