#pragma once

#include <QSpinBox>

namespace console {

// A NetWare check delay of the card. The arrows and the Up and Down keys step it by 5 while the
// result stays within the page's bounds (a step past one leaves the value where it is); a typed value
// is held to what the card accepts, so that OK never sends one the card refuses.
class CheckDelayBox : public QSpinBox {
  public:
    static constexpr int kCardLeast = 1;
    static constexpr int kCardMost = 3600;
    static constexpr int kStep = 5;

    CheckDelayBox(int stepFloor, int stepCeiling, QWidget* parent = nullptr);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    bool Reaches(int value) const;

    int stepFloor_;
    int stepCeiling_;
};

}  // namespace console
