#include "console/configuration/CheckDelayBox.h"

#include <algorithm>

namespace console {

CheckDelayBox::CheckDelayBox(int stepFloor, int stepCeiling, QWidget* parent)
    : QSpinBox(parent), stepFloor_(std::max(stepFloor, kCardLeast)), stepCeiling_(stepCeiling) {
    setRange(kCardLeast, kCardMost);
    setSingleStep(kStep);
    setMinimumWidth(90);
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
