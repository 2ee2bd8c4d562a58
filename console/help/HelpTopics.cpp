#include "console/help/HelpTopics.h"

#include <QTabWidget>
#include <QWidget>

#include "console/help/HelpBook.h"

namespace console {

namespace {

QStringList FormNames(const QWidget* window) {
    QString type = window->metaObject()->className();
    type = type.mid(type.lastIndexOf(':') + 1);
    QStringList names{type};
    if (!window->objectName().isEmpty() && window->objectName() != type) {
        names << window->objectName();
    }
    return names;
}

// The text of the current tab of the window's first shown tab widget; empty when it has none.
QString CurrentTab(const QWidget* window) {
    for (const QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        if (tabs->window() == window && tabs->isVisible() && tabs->currentIndex() >= 0) {
            return tabs->tabText(tabs->currentIndex()).remove('&');
        }
    }
    return QString();
}

}  // namespace

QStringList WindowTopics(const QWidget* window) {
    const QStringList names = FormNames(window);
    const QString tab = CurrentTab(window);
    QStringList topics;
    if (!tab.isEmpty()) {
        for (const QString& name : names) {
            topics << name + "/" + tab;
        }
    }
    return topics + names;
}

int PageOfWindow(const HelpBook& book, const QWidget* window) {
    for (; window != nullptr; window = window->parentWidget() ? window->parentWidget()->window() : nullptr) {
        for (const QString& topic : WindowTopics(window)) {
            if (const int page = book.PageOfTopic(topic); page >= 0) {
                return page;
            }
        }
    }
    return -1;
}

}  // namespace console
