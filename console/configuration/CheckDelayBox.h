#pragma once

#include <QSpinBox>

namespace console {

// A NetWare check delay of the card. The arrows and the Up and Down keys step it by 5 while the
// result stays within the page's bounds (a step past one leaves the value where it is); a typed value
// is held to what the card accepts, so that OK never sends one the card refuses. A value the card
// holds outside that range (a configuration delay of 0, say) is shown as it is, so that a box nobody
// touched still holds the card's own value and OK leaves it alone.
class CheckDelayBox : public QSpinBox {
  public:
    static constexpr int kCardLeast = 1;
    static constexpr int kCardMost = 3600;
    static constexpr int kStep = 5;

    CheckDelayBox(int stepFloor, int stepCeiling, QWidget* parent = nullptr);
    void ShowCardValue(int value);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& text, int& position) const override;

  private:
    bool Reaches(int value) const;

    int stepFloor_;
    int stepCeiling_;
    int cardValue_ = kCardLeast;
};

}  // namespace console
