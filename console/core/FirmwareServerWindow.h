#pragma once

#include "platform/window/Window.h"

// The firmware upgrade server's window, as the console finds and releases it.
namespace console {

// The window the server stored under TFTP "Window"; 0 when none is stored.
plat::WindowHandle StoredFirmwareWindow();
// True only for a live window of the firmware server program itself: its class and title, in a
// process of that program other than this one.
bool IsFirmwareServerWindow(plat::WindowHandle window);
// Sends the release and close messages, but only to a window proven to be the server's.
void ReleaseFirmwareServer(plat::WindowHandle window);

}  // namespace console
