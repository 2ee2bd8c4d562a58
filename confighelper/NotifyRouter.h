#pragma once

#include <functional>

#include "platform/window/Window.h"

// The library's hidden windows all share one window procedure, RouteNotify, which hands each
// WM_DATAGRAM_NOTIFY read event to the owner registered for that window, with the message's first
// parameter (the socket of a socket notice). So a window class that stays registered for the process
// (as the transports' classes do) serves every later owner too.
using NotifyHandler = std::function<void(plat::WParam)>;

void RouteNotifications(plat::WindowHandle window, NotifyHandler handler);
void StopRouting(plat::WindowHandle window);

plat::LResult RouteNotify(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                          plat::LParam lParam);
