#pragma once

#include <QAbstractSpinBox>

#include <optional>

// A number setting's box with its spin buttons: typed text is digits only, the buttons step by a
// fixed amount and wrap at the ends of the range.
namespace console {

class NumberBox : public QAbstractSpinBox {
    Q_OBJECT

  public:
    // `wrapOnlyAtEnds`: the buttons wrap only from exactly the minimum or maximum; otherwise from
    // any value at or beyond it.
    NumberBox(double minimum, double maximum, double step, bool wrapOnlyAtEnds);

    void SetMaximum(double maximum);
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // The text as a number; none for a text that is none.
    std::optional<double> Number() const;
    // Whether the text is a number within the range.
    bool InRange() const;
    // Shows the number with at most 15 significant digits and no trailing zeros.
    void ShowNumber(double value);
    void ShowText(const QString& text);

    void stepBy(int steps) override;

  signals:
    // The person typed, pasted or stepped.
    void Edited();

  protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    double minimum_;
    double maximum_;
    double step_;
    bool wrapOnlyAtEnds_;
};

// The text of a number as the dialog writes and shows it.
QString NumberText(double value);

}  // namespace console
