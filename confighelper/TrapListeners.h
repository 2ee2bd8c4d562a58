#pragma once

#include "platform/window/Window.h"
#include "transport/DatagramTransport.h"

// The library's three trap listeners (UDP port 162, IPX socket 0x9010, DLC SAP 12) and the console
// window their notice lines go to. Made on the thread that calls HelperInitialize, whose message
// loop then runs their drains.
void OpenTrapListeners(ModuleInstance instance);
void CloseTrapListeners();

void SetNoticeWindow(plat::WindowHandle window);
plat::WindowHandle NoticeWindow();
