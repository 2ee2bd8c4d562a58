#include "console/core/dialogs/DialogKit.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

#include "console/core/StringTable.h"

namespace console {

HintLine::HintLine(QWidget* form) : form_(form) {
    setObjectName("lblTips");
    setWordWrap(true);
    setMinimumHeight(fontMetrics().height() * 2 + 4);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form_->installEventFilter(this);
}

void HintLine::Attach(QWidget* control, int hintId) {
    hints_[control] = LoadString(hintId);
    control->installEventFilter(this);
}

bool HintLine::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        const auto hint = hints_.find(watched);
        setText(hint != hints_.end() ? hint->second : QString());
    }
    return QLabel::eventFilter(watched, event);
}

CharacterFilter::CharacterFilter(QString allowed, QObject* parent, bool beep)
    : QValidator(parent), allowed_(std::move(allowed)), beep_(beep) {}

QValidator::State CharacterFilter::validate(QString& input, int& /*position*/) const {
    for (const QChar c : input) {
        if (!allowed_.contains(c)) {
            if (beep_) {
                QApplication::beep();
            }
            return Invalid;
        }
    }
    return Acceptable;
}

int MoveSelected(QListWidget* from, QListWidget* to) {
    int last = -1;
    for (int row = 0; row < from->count();) {
        if (!from->item(row)->isSelected()) {
            ++row;
            continue;
        }
        QListWidgetItem* item = from->takeItem(row);
        item->setSelected(false);
        to->addItem(item);
        last = row;
    }
    return last < 0 ? 0 : last - 1;
}

void EnableWithEntries(QListWidget* list, QPushButton* takeOut) {
    const bool entries = list->count() > 0;
    list->setEnabled(entries);
    takeOut->setEnabled(entries);
}

void SelectEntry(QListWidget* list, int row) {
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
        list->item(row)->setSelected(true);
    }
}

QBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        button->setMinimumWidth(88);
        row->addWidget(button);
    }
    return row;
}

QWidget* HintPanel(HintLine* hint) {
    auto* panel = new QFrame;
    panel->setObjectName("pnlInfo");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(hint);
    return panel;
}

}  // namespace console
