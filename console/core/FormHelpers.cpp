#include "console/core/FormHelpers.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace console {

namespace {

class SelectAllFilter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonDblClick) {
            auto* box = static_cast<QLineEdit*>(watched);
            // After the box has placed its cursor for the click itself; not over what was typed
            // meanwhile (a quick typist's next key may come first).
            auto typed = std::make_shared<bool>(false);
            auto watch = std::make_shared<QMetaObject::Connection>(
                connect(box, &QLineEdit::textEdited, box, [typed] { *typed = true; }));
            QTimer::singleShot(0, box, [box, typed, watch] {
                QObject::disconnect(*watch);
                if (!*typed) {
                    SelectAllText(box);
                }
            });
        }
        return false;
    }
};

// Centres the form on the screen of its parent (its own without one) by its size as it is now.
void CentreNow(QWidget* form) {
    const QWidget* parent = form->parentWidget();
    const QRect area = (parent != nullptr ? parent->window() : form)->screen()->availableGeometry();
    const QSize size = form->frameGeometry().size();
    form->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// Centres the form once, as it is about to be shown: laid out, at the size it is shown at, and
// before it reaches the screen.
class CentreOnShow : public QObject {
  public:
    static constexpr const char* kName = "CentreOnShow";
    explicit CentreOnShow(QWidget* form) : QObject(form) { setObjectName(kName); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            CentreNow(static_cast<QWidget*>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

void CenterForm(QWidget* form) {
    if (form->isVisible()) {
        CentreNow(form);
    } else if (form->findChild<QObject*>(CentreOnShow::kName, Qt::FindDirectChildrenOnly) == nullptr) {
        form->installEventFilter(new CentreOnShow(form));
    }
}

void SelectAllText(QLineEdit* box) {
    box->setSelection(0, static_cast<int>(box->text().size()));
}

void MakeDefaultButton(QPushButton* button) {
    // A button already marked default ignores being made so again.
    button->setDefault(false);
    button->setDefault(true);
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

void SelectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new SelectAllFilter(box));
}

bool FindListItem(const QListWidget* list, const QString& text) {
    const QString wanted = text.trimmed();
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().trimmed().compare(wanted, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString NameListReader::Next(const QString& list, bool& done) {
    if (!list.isEmpty()) {
        rest_ = list + ',';
    }
    done = false;
    const qsizetype comma = rest_.indexOf(',');
    bool number = false;
    const qsizetype length = comma < 0 ? 0 : rest_.left(comma).toLongLong(&number);
    if (comma < 0 || !number || length < 0 || comma + 1 + length >= rest_.size()) {
        rest_.clear();
        done = true;
        return {};
    }
    const QString name = rest_.mid(comma + 1, length);
    rest_.remove(0, comma + 1 + length + 1);
    done = rest_.isEmpty();
    return name;
}

std::vector<QString> SplitList(const QString& line) {
    const QStringList fields = line.split(',');
    return {fields.begin(), fields.end()};
}

}  // namespace console
