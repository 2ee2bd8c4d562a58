#pragma once

#include <QWidget>

#include <array>

class QLineEdit;

namespace console {

// The four octet boxes of one dotted IPv4 address. Only digits can be typed; a box that reaches
// three digits hands the focus on (to the next box, or to the first box of the address set as next);
// a box the focus leaves is rewritten as its plain number ("007" becomes "7", empty becomes "0").
class AddressBoxes : public QWidget {
    Q_OBJECT

  public:
    explicit AddressBoxes(QWidget* parent = nullptr);

    QLineEdit* Box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
    QString Text() const;
    // Shows a dotted text; a missing or empty part shows as "0".
    void SetText(const QString& address);
    void SetNext(AddressBoxes* next) { next_ = next; }

  signals:
    // A person typed into a box.
    void Edited();
    // The focus left a box, after its rewrite.
    void Left();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BoxEdited(int index);

    std::array<QLineEdit*, 4> boxes_{};
    AddressBoxes* next_ = nullptr;
};

}  // namespace console
