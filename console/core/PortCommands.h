#pragma once

#include "platform/window/Window.h"

class QWidget;

// The main window's port commands, on the ports that print to the current print server (after a
// choice when there are several): Configure Port moves a port to another print server in the port
// monitor's dialog, and its queues, which keep naming it, print there too; Delete Port deletes a port
// and the queues that print to it, after a question that names them (or says that none does, as
// after `lpadmin -x`). Both are refused, with a message, while the port prints. True when a port
// changed: the caller then rebuilds its rows.
namespace console {

bool ConfigurePortCommand(QWidget* parent, plat::WindowHandle owner);
bool DeletePortCommand(QWidget* parent, plat::WindowHandle owner);

}  // namespace console
