#pragma once

class QWidget;

// The one help window of a process, beside the window it is asked from: the console's, and that of a
// program that shows the port monitor's dialogs. It stays usable beside the window it was opened
// from, a modal dialog included. Each returns null when the pages are not installed; the caller says
// so as it says things.
namespace console {

class HelpWindow;

// The page of the window (of the window it was opened from, when it has none of its own), else the
// first page.
HelpWindow* ShowHelpFor(QWidget* window);
HelpWindow* ShowHelpContents(QWidget* from);
HelpWindow* ShowHelpSearch(QWidget* from);

// Whether the installed help has a page of the window (or of a window it was opened from).
bool HasHelpFor(const QWidget* window);

}  // namespace console
