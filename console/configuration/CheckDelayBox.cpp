#include "console/configuration/CheckDelayBox.h"

#include <algorithm>

namespace console {

CheckDelayBox::CheckDelayBox(int stepFloor, int stepCeiling, QWidget* parent)
    : QSpinBox(parent), stepFloor_(std::max(stepFloor, kCardLeast)), stepCeiling_(stepCeiling) {
    setRange(kCardLeast, kCardMost);
    setSingleStep(kStep);
    setMinimumWidth(90);
}

// The range widens to take in the card's value, and only that value, beyond what may be typed.
void CheckDelayBox::ShowCardValue(int value) {
    cardValue_ = value;
    setRange(std::min(value, kCardLeast), std::max(value, kCardMost));
    setValue(value);
}

QValidator::State CheckDelayBox::validate(QString& text, int& position) const {
    const QValidator::State state = QSpinBox::validate(text, position);
    if (state != QValidator::Acceptable) {
        return state;
    }
    const int typed = valueFromText(text);
    const bool accepted = typed == cardValue_ || (typed >= kCardLeast && typed <= kCardMost);
    return accepted ? QValidator::Acceptable : QValidator::Intermediate;
}

bool CheckDelayBox::Reaches(int value) const {
    return value >= stepFloor_ && value <= stepCeiling_;
}

void CheckDelayBox::stepBy(int steps) {
    const int next = value() + steps * kStep;
    if (Reaches(next)) {
        setValue(next);
    }
}

QAbstractSpinBox::StepEnabled CheckDelayBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (Reaches(value() + kStep)) {
        enabled |= StepUpEnabled;
    }
    if (Reaches(value() - kStep)) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

}  // namespace console
