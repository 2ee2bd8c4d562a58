#pragma once

#include "platform/window/Window.h"

class QWidget;

// The main window's printer commands: Add Port, Add Printer, Properties (a queue's document
// settings) and Job Queue, each for the current printer row where it needs one.
namespace console {

// Runs the port monitor's add-port dialog and makes a queue on the new port; true when a port was
// added (the caller then rebuilds its rows). A second call while one runs does nothing.
bool AddPortCommand(plat::WindowHandle owner);
// Starts the desktop's printer set-up program, or says that there is none.
void AddPrinterCommand();
// Opens the document settings of the current print server's queue, after a choice when it has
// other than one.
void PrinterPropertiesCommand(QWidget* parent, plat::WindowHandle owner);
// Shows the job queue of the current print server.
void JobQueueCommand(QWidget* parent);

}  // namespace console
