#pragma once

#include <string>
#include <string_view>

#include "platform/window/Window.h"

namespace fendrel {

// The console starts the server with "TLX", a blank or a comma, and the handle of the window that
// receives the events, in signed decimal. False for any other first word; consoleWindow is then 0, as
// it is when no handle follows or the number does not fit in 32 bits.
bool ParseCommandLine(std::string_view line, plat::WindowHandle& consoleWindow);

// The arguments after the program's name, joined by blanks into the one line the console gave.
std::string JoinArguments(int argc, const char* const* argv);

}  // namespace fendrel
