#pragma once

#include <QString>

#include "platform/window/Window.h"

// The console's start-up and shut-down partner calls: the configuration helper library is started
// with the notice box's window and gives back the stored display options; at shut-down the options
// are built again and handed back for storing.
namespace console {

// Starts the library and puts the stored options into State().options. A failure of the library is
// shown and start-up goes on; a stored text that cannot be read is reported and the default text is
// used.
void StartUp(plat::WindowHandle noticeWindow);
// Hands State().options back to the library, which stores them and stops.
void ShutDown();

}  // namespace console
