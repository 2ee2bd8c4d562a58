#pragma once

#include <QSpinBox>

namespace console {

// An AppleTalk time of the card, in seconds, changed only by its arrows and the Up and Down keys
// (typed characters are dropped). A step is taken while the value is inside the page's bounds (up
// below the ceiling, down above the floor) and may end past them, as a value off the step grid
// gives; it never ends below 0. The box shows whatever the card holds, even a value no step reaches.
class AppleTalkStepBox : public QSpinBox {
  public:
    AppleTalkStepBox(int stepFloor, int stepCeiling, int step, QWidget* parent = nullptr);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int stepFloor_;
    int stepCeiling_;
    int step_;
};

}  // namespace console
