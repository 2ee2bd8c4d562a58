#pragma once

#include <QWidget>

#include <array>

class QLineEdit;

namespace console {

// The four boxes of a dotted IPv4 address, as a person types one: only digits go in, at most three
// to a box; a "." after a digit or a box's third digit moves on to the next box (from the last box
// to the first box of the address set as next, if any); a dotted address typed or pasted into any
// box fills all four.
class OctetBoxes : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kBoxes = 4;

    explicit OctetBoxes(QWidget* parent = nullptr);

    QLineEdit* Box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
    const std::array<QLineEdit*, kBoxes>& Boxes() const { return boxes_; }
    void SetNext(OctetBoxes* next) { next_ = next; }

    // Takes a text with dots typed or pasted into box `index`: its first part stays in that box, the
    // others go to the boxes after it (a whole address to all four); the focus goes on to the box
    // where the last part went. False when the text is not made of parts of at most three digits,
    // or nothing stands before its first dot.
    bool TakeDotted(int index, QString& text);

  signals:
    // A person changed box `index`.
    void Edited(int index);

  private:
    void BoxEdited(int index);
    void MoveTo(int index);

    std::array<QLineEdit*, kBoxes> boxes_{};
    OctetBoxes* next_ = nullptr;
    bool moving_ = false;  // a dotted text's focus move is on its way
};

}  // namespace console
