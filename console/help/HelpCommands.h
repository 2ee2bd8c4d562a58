#pragma once

class QWidget;

// The console's help: the Help menu's Contents and Search for Help, and F1 in every window, which
// opens the page of the window in focus. The help window stays usable beside the window it was
// opened from, a modal dialog included.
namespace console {

class HelpWindow;

// Each shows the help window and answers it; none (after saying so) when the pages are not installed.
HelpWindow* ShowHelpFor(QWidget* window);
HelpWindow* ShowHelpContents(QWidget* from);
HelpWindow* ShowHelpSearch(QWidget* from);

// Registers the Help commands of the main window and makes F1 open the help in every window.
void WireHelp();

}  // namespace console
