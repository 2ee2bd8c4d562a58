#include "console/help/HelpCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include "console/core/CommandTable.h"
#include "console/core/Messages.h"
#include "console/core/NewLook.h"
#include "console/help/HelpBook.h"
#include "console/help/HelpViewer.h"

namespace console {

namespace {

constexpr int kNotInstalled = 12607;

// A help that could not be shown: the pages are not installed where the console looks for them.
void SayWhenMissing(const HelpWindow* help) {
    if (help == nullptr) {
        ShowMessageEx(kNotInstalled, kWarning, InstalledHelp().Folder());
    }
}

// F1, without modifiers, in any window of the console. It is taken before any short-cut sees it.
class HelpKey : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) ||
            !watched->isWidgetType()) {
            return false;
        }
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
            return false;
        }
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            SayWhenMissing(ShowHelpFor(static_cast<QWidget*>(watched)));
        }
        return true;
    }
};

}  // namespace

void WireHelp() {
    SetCommand("mnuHelp1", [](NewLook& window) { SayWhenMissing(ShowHelpContents(&window)); });
    SetCommand("mnuHelp2", [](NewLook& window) { SayWhenMissing(ShowHelpSearch(&window)); });
    static QPointer<HelpKey> key;
    if (key == nullptr) {
        key = new HelpKey;
        key->setParent(qApp);
        qApp->installEventFilter(key);
    }
}

}  // namespace console
