#include "console/help/HelpViewer.h"

#include <QPointer>
#include <QWindow>

#include "console/help/HelpBook.h"
#include "console/help/HelpTopics.h"
#include "console/help/HelpWindow.h"

namespace console {

namespace {

// The window that owns what opens from `widget`: a menu or a tip passes to the window it belongs to.
QWidget* OwningWindow(QWidget* widget) {
    QWidget* window = widget->window();
    while ((window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip) &&
           window->parentWidget() != nullptr) {
        window = window->parentWidget()->window();
    }
    return window;
}

// The window at the top of the chain of owners, the main window in the running console.
QWidget* TopOwner(QWidget* window) {
    while (window->parentWidget() != nullptr) {
        window = window->parentWidget()->window();
    }
    return window;
}

// The one help window, owned by the top window so that it stays until the user closes it, also
// after the dialog it was opened from has gone. It is the transient of the window it was last opened
// from, so that a modal dialog does not block it while it is open.
HelpWindow* HelpWindowOver(QWidget* opener) {
    const HelpBook& book = InstalledHelp();
    if (book.IsEmpty()) {
        return nullptr;
    }
    static QPointer<HelpWindow> help;
    QWidget* from = OwningWindow(opener);
    QWidget* owner = TopOwner(from);
    if (help == nullptr) {
        help = new HelpWindow(book, owner);
    } else if (help != owner && help->parentWidget() != owner) {
        const QRect place = help->geometry();
        help->setParent(owner, Qt::Window);
        help->setGeometry(place);
    }
    if (from != help) {
        help->winId();
        help->windowHandle()->setTransientParent(from->windowHandle());
    }
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

}  // namespace

HelpWindow* ShowHelpFor(QWidget* window) {
    HelpWindow* help = HelpWindowOver(window);
    if (help != nullptr) {
        const int page = PageOfWindow(InstalledHelp(), OwningWindow(window));
        help->ShowPage(page >= 0 ? page : 0);
    }
    return help;
}

HelpWindow* ShowHelpContents(QWidget* from) {
    HelpWindow* help = HelpWindowOver(from);
    if (help != nullptr) {
        help->ShowContents();
    }
    return help;
}

HelpWindow* ShowHelpSearch(QWidget* from) {
    HelpWindow* help = HelpWindowOver(from);
    if (help != nullptr) {
        help->ShowSearch();
    }
    return help;
}

bool HasHelpFor(const QWidget* window) {
    return PageOfWindow(InstalledHelp(), window) >= 0;
}

}  // namespace console
