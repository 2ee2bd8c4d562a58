#pragma once

#include <QStringList>

class QWidget;

// Which help page belongs to a window: the help names each form by its class (or, for a form without
// a class of its own, by its object name), and a form with tabs by the form and its current tab.
namespace console {

class HelpBook;

// The topics of a window, the most particular first: "frmConfiguration/TCP/IP", then "frmConfiguration".
QStringList WindowTopics(const QWidget* window);
// The page of the window: that of its first topic the book has, else that of the window it was
// opened from, and so on; -1 when none has one.
int PageOfWindow(const HelpBook& book, const QWidget* window);

}  // namespace console
