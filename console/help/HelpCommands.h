#pragma once

// The console's help: the Help menu's Contents and Search for Help, and F1 in every window, which
// opens the page of the window in focus (console/help/HelpViewer.h).
namespace console {

// Registers the Help commands of the main window and makes F1 open the help in every window.
void WireHelp();

}  // namespace console
