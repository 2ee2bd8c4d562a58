#include "console/configuration/AppleTalkStepBox.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace console {

AppleTalkStepBox::AppleTalkStepBox(int stepFloor, int stepCeiling, int step, QWidget* parent)
    : QSpinBox(parent), stepFloor_(stepFloor), stepCeiling_(stepCeiling), step_(step) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setMinimumWidth(90);
    lineEdit()->setReadOnly(true);
}

void AppleTalkStepBox::stepBy(int steps) {
    int next = value();
    for (; steps > 0 && next < stepCeiling_; --steps) {
        next += step_;
    }
    for (; steps < 0 && next > stepFloor_; ++steps) {
        next = std::max(next - step_, 0);
    }
    setValue(next);
}

QAbstractSpinBox::StepEnabled AppleTalkStepBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < stepCeiling_) {
        enabled |= StepUpEnabled;
    }
    if (value() > stepFloor_) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

}  // namespace console
