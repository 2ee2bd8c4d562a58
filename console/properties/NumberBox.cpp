#include "console/properties/NumberBox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace console {

NumberBox::NumberBox(double minimum, double maximum, double step, bool wrapOnlyAtEnds)
    : minimum_(minimum), maximum_(maximum), step_(step), wrapOnlyAtEnds_(wrapOnlyAtEnds) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumberBox::Edited);
}

void NumberBox::SetMaximum(double maximum) {
    maximum_ = maximum;
}

std::optional<double> NumberBox::Number() const {
    bool ok = false;
    const double value = lineEdit()->text().trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool NumberBox::InRange() const {
    const std::optional<double> number = Number();
    return number && *number >= minimum_ && *number <= maximum_;
}

void NumberBox::ShowNumber(double value) {
    lineEdit()->setText(NumberText(value));
}

void NumberBox::ShowText(const QString& text) {
    lineEdit()->setText(text);
}

void NumberBox::stepBy(int steps) {
    double value = Number().value_or(minimum_);
    for (; steps != 0; steps += steps > 0 ? -1 : 1) {
        const bool up = steps > 0;
        const double end = up ? maximum_ : minimum_;
        const bool wrap = wrapOnlyAtEnds_ ? value == end : (up ? value >= end : value <= end);
        // Read back through the text each step, so that steps of 0.1 land exactly on the ends.
        value = NumberText(wrap ? (up ? minimum_ : maximum_) : value + (up ? step_ : -step_)).toDouble();
    }
    ShowNumber(value);
    emit Edited();
}

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const {
    return isEnabled() ? StepUpEnabled | StepDownEnabled : StepNone;
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool digit = text.size() == 1 && text[0].isDigit();
    const bool editing = event->key() == Qt::Key_Backspace;
    const bool moving = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                        event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
                        event->key() == Qt::Key_Home || event->key() == Qt::Key_End ||
                        event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (digit || editing || moving || event->matches(QKeySequence::Paste)) {
        QAbstractSpinBox::keyPressEvent(event);
    } else {
        event->ignore();
    }
}

QString NumberText(double value) {
    return QString::number(value, 'g', 15);
}

}  // namespace console
